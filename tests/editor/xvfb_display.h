// Gives a test program an X display: the one in DISPLAY, or a private Xvfb it starts.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <memory>

#include "tests/support/x_session.h"

namespace testing_x {

class XvfbEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display && *display) return;
    try {
      xvfb_ = std::make_unique<realwindow::Xvfb>(640, 480);
    } catch (const std::exception& e) {
      FAIL() << e.what();
    }
    ::setenv("DISPLAY", xvfb_->display().c_str(), 1);
  }
  void TearDown() override { xvfb_.reset(); }

 private:
  std::unique_ptr<realwindow::Xvfb> xvfb_;
};

}  // namespace testing_x
