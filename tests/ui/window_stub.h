#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/toolkit/toolkit.h"

namespace identstrip::ui::testing {

// A window that does nothing; tests override the parts they watch.
class WindowStub : public Window {
 public:
  void Open() override {}
  void Close() override {}
  void Redisplay(int) override {}
  void RedisplayAll() override {}
  void Focus(int) override {}
  int FocusedControl() const override { return 0; }
  void SetEnabled(int, bool) override {}
  void SetVisible(int, bool) override {}
  void SetTimerPeriod(int) override {}
  void Post(int) override {}
  Event NextEvent() override { return {EventKind::CloseRequest}; }
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest&) override {
    return std::nullopt;
  }
  void RunStopMessageBox(std::string_view, std::string_view) override {}
};

}  // namespace identstrip::ui::testing
