#include "status/status_lines.h"

#include <sstream>

namespace tessarel {
namespace {

constexpr int32_t registry_phase = 1;
constexpr int32_t volume_phase = 2;

}  // namespace

status_line_set lines_to_draw(const status_snapshot& status) {
  if (status.phase == registry_phase) {
    const bool busy = status.activity == 1 || status.activity == 2;
    return {busy, false, busy};
  }
  if (status.phase == volume_phase) {
    switch (status.state) {
      case 1:
        return {true, false, true};
      case 2:
      case 3:
        return {true, true, true};
      default:
        return {};
    }
  }
  return {};
}

std::wstring activity_line_text(const status_snapshot& status) {
  if (status.phase == registry_phase) {
    if (status.activity == 1) return L"正在分析注册表";
    if (status.activity == 2) return L"正在整理注册表 ";
    return {};
  }
  if (status.phase != volume_phase) return {};
  const wchar_t* prefix = nullptr;
  switch (status.state) {
    case 1:
      prefix = L"正在分析卷 ";
      break;
    case 2:
      prefix = L"正在整理卷 ";
      break;
    case 3:
      prefix = L" 正在优化卷 ";
      break;
    default:
      return {};
  }
  // The letter goes through the stream's own widening of a narrow character.
  std::wostringstream text;
  text << prefix << status.volume;
  return text.str();
}

std::wstring move_line_text(uint64_t move_from, uint64_t move_to, uint32_t& idle_counter) {
  if (move_from != 0 || move_to != 0) {
    return L"移动 " + std::to_wstring(static_cast<int64_t>(move_from)) + L" 到 " +
           std::to_wstring(static_cast<int64_t>(move_to));
  }
  // Between moves the line still changes on every repaint, so the user sees
  // the engine is alive.
  return L"检查中 " + std::to_wstring(idle_counter++);
}

}  // namespace tessarel
