#pragma once
// CZQApp: the engine's application object. Its InitInstance records the fixed
// volumes C to Z when the library is loaded; its ExitInstance saves the cell
// maps and the option flags when it is unloaded.

#include <string>

#include "classlib/cwinapp.h"

namespace dravik {

struct engine_state;

class CZQApp final : public CWinApp {
 public:
  explicit CZQApp(engine_state& engine) noexcept;

  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  engine_state& engine_;
  std::string application_folder_;
};

// Writes every allocated cell map into "diskdata" at slot x 24000 and the low
// bytes of the four option flags into "Setting" at byte 9, each only into a
// file that exists already: neither file is ever created.
void save_engine_state(const engine_state& engine);

// Frees every slot's cell map and empties its cell file lists.
void free_volume_maps(engine_state& engine) noexcept;

}  // namespace dravik
