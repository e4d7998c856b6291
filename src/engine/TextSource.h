#pragma once
// Where the texts come from that the engine and the command line show or
// write: the string table, by the numbers of res/resource.h. The program
// registers its resource reader at start-up, so these texts come in the
// language of its windows; until a source is registered every text is empty.

#include <string>
#include <vector>

using TextLoader = std::string (*)(int id);

// Makes the source the one every text comes from; returns the one before.
TextLoader SetTextSource(TextLoader source);

std::string Text(int id);

// The text with each "%s" replaced by the next of the values, in order.
std::string FormatText(int id, const std::vector<std::string>& values);
// The same for a text already loaded.
std::string FormatWith(std::string text, const std::vector<std::string>& values);

// Text read from the system (a stored path, a value's data) as it may go
// into a report line or the event log: every control character becomes '?',
// so a line break in it cannot make a line of its own.
std::string PrintableText(std::string text);
