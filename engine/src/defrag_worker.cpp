#include "defrag_worker.h"

#include "engine_state.h"
#include "engine_workers.h"

namespace dravik {

UINT __cdecl defrag_worker_proc(LPVOID parameter) {
  engine_state& engine = *static_cast<engine_state*>(parameter);
  // TODO(defragmentation worker): take volume_letters again, defragment (and
  // in run mode 2 optimise) each volume, write its page and the index page.
  // Until then the job ends here as a finished defragmentation leaves the
  // engine, so the run exports of modes 1 and 2 return as they will.
  engine.context.stop_requested = 1;
  engine.globals.run_mode = 0;
  finish_worker(engine.globals, engine.globals.defrag_worker);
  return 0;
}

}  // namespace dravik
