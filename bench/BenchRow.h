#pragma once
// One line of the closing table. The in-process bench prints its rows as
// tab-separated lines that the runner reads back from its output.

#include <cstdio>
#include <sstream>
#include <string>

struct BenchRow {
  std::string figure;
  double value;
  std::string against;
  double baseline;
  int decimals;
};

constexpr char kRowTag[] = "row\t";

inline void PrintRow(const BenchRow& row) {
  std::printf("%s%s\t%.6f\t%s\t%.6f\t%d\n", kRowTag, row.figure.c_str(), row.value,
              row.against.c_str(), row.baseline, row.decimals);
  std::fflush(stdout);
}

inline bool ParseRow(const std::string& line, BenchRow* row) {
  if (line.rfind(kRowTag, 0) != 0) return false;
  std::istringstream fields(line.substr(sizeof kRowTag - 1));
  std::string value, baseline, decimals;
  if (!std::getline(fields, row->figure, '\t') || !std::getline(fields, value, '\t') ||
      !std::getline(fields, row->against, '\t') || !std::getline(fields, baseline, '\t') ||
      !std::getline(fields, decimals))
    return false;
  row->value = std::stod(value);
  row->baseline = std::stod(baseline);
  row->decimals = std::stoi(decimals);
  return true;
}
