#include "handler_exceptions.h"

#include <exception>

namespace vemo {
namespace {

std::exception_ptr& kept_exception() {
  static std::exception_ptr kept;
  return kept;
}

}  // namespace

// Only the first one is kept: later ones usually follow from it.
void keep_handler_exception() {
  if (!kept_exception()) kept_exception() = std::current_exception();
}

void rethrow_handler_exception() {
  if (!kept_exception()) return;
  std::exception_ptr kept;
  kept.swap(kept_exception());
  std::rethrow_exception(kept);
}

}  // namespace vemo
