// What a piece of code prints on standard output.
#pragma once

#include <stdio.h>

#include <string>

#include <gtest/gtest.h>

template <typename Action> std::string StdoutOf(Action action)
{
  testing::internal::CaptureStdout();
  action();
  fflush(stdout);
  return testing::internal::GetCapturedStdout();
}
