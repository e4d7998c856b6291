#pragma once
// Base of the native tests: a fresh in-memory Windows for every test, and a
// check after every test that each key, service and process handle opened
// was closed and no handle was used that had not been opened.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/DescribeValue.h"
#include "platform/fake/FakeMachine.h"

class FakeSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetMachine(); }
  void TearDown() override {
    EXPECT_EQ(0u, Registry().OpenHandleCount()) << "a registry key was left open";
    EXPECT_EQ(0, Registry().BadHandleUses()) << "a handle was used that was not open";
    EXPECT_EQ(0u, Machine().services.OpenHandleCount()) << "a service handle was left open";
    EXPECT_EQ(0, Machine().services.BadHandleUses()) << "a bad service handle was used";
    EXPECT_EQ(0u, Machine().OpenProcessCount()) << "a process handle was left open";
  }

  static fake::FakeRegistry& Registry() { return fake::Machine().registry; }
  static fake::FakeMachine& Machine() { return fake::Machine(); }

  // Type and bytes of a value, or "missing".
  static std::string Describe(HKEY root, const std::string& path, const std::string& name) {
    auto value = Registry().GetValue(root, path, name);
    return value ? DescribeValue(value->type, value->bytes) : "missing";
  }
};
