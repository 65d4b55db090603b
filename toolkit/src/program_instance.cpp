#include "vemo/program_instance.h"

namespace vemo {

HINSTANCE program_instance = nullptr;

}  // namespace vemo
