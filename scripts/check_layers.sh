#!/usr/bin/env bash
# Keeps the dependencies one way. Fails (exit 1) and names every include that
# crosses a forbidden direction:
#   - inside engine/src, a folder includes only its own layer or lower ones:
#       exports > core > analysis, defrag > advanced > options
#       > volume, cells, reports > files > text > state
#     and nothing below core includes a dialog (outside options/ and
#     advanced/, which hold the engine's dialogs);
#   - classlib/ and platform/ include nothing of engine/src;
#   - the toolkit includes nothing of the engine;
#   - app/window (the main window and the program's life) is the program's
#     top layer: no other folder of app/ includes it;
#   - nothing outside the engine reaches its internals: only engine/include
#     ("dravik/..."); the engine's own tests and benchmarks are exempt, as is
#     the simulated build of the engine (tests/support/simulated_engine), and
#     the simulated volume may include the volume seam alone.
# Usage: scripts/check_layers.sh [ROOT]   (default: the repository)
set -euo pipefail

root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"

# The folders each engine/src folder may include from.
declare -A allowed=(
  [state]="state"
  [text]="state text"
  [files]="state text files"
  [volume]="state text files volume cells reports"
  [cells]="state text files volume cells reports"
  [reports]="state text files volume cells reports"
  [options]="state text files volume cells reports options"
  [advanced]="state text files volume cells reports options advanced"
  [analysis]="state text files volume cells reports options analysis defrag"
  [defrag]="state text files volume cells reports options analysis defrag"
  [core]="state text files volume cells reports options advanced analysis defrag core"
  [exports]="state text files volume cells reports options advanced analysis defrag core exports"
)
engine_folders="${!allowed[*]} classlib platform resources"
# Folders below core that may still include a dialog: the dialogs' own.
dialog_homes="options advanced core exports"

failures=0
fail() {
  echo "check_layers: $1" >&2
  failures=$((failures + 1))
}

# Prints "file<TAB>included path" for every quoted include under the folders.
quoted_includes() {
  find "$@" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0 2>/dev/null |
    xargs -0 -r grep -H -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' |
    sed -E 's/^([^:]*):.*"([^"]*)"$/\1\t\2/'
}

is_engine_path() {
  local first=${1%%/*}
  [[ $1 == */* && " $engine_folders " == *" $first "* ]]
}

# Dialog headers: classlib's dialog and every engine header that includes
# one, however indirectly.
declare -A dialog_header=([classlib/dialog.h]=1)
engine_includes=$(quoted_includes engine/src engine/classlib)
changed=1
while ((changed)); do
  changed=0
  while IFS=$'\t' read -r file included; do
    [[ -n $file ]] || continue
    header=${file#engine/src/}
    header=${header#engine/}
    [[ $header == *.h ]] || continue
    if [[ -n ${dialog_header[$included]:-} && -z ${dialog_header[$header]:-} ]]; then
      dialog_header[$header]=1
      changed=1
    fi
  done <<<"$engine_includes"
done

while IFS=$'\t' read -r file included; do
  [[ -n $file ]] || continue
  rel=${file#engine/src/}
  folder=${rel%%/*}
  if [[ $rel != */* ]]; then
    fail "$file: engine/src holds sources only in its folders"
    continue
  fi
  target=${included%%/*}
  if [[ $included == */* && -n ${allowed[$target]:-} ]]; then
    if [[ " ${allowed[$folder]:-} " != *" $target "* ]]; then
      fail "$file includes $included: $folder/ may not depend on $target/"
    fi
  fi
  if [[ -n ${dialog_header[$included]:-} && " $dialog_homes " != *" $folder "* ]]; then
    fail "$file includes $included: a dialog, below core"
  fi
done <<<"$(quoted_includes engine/src)"

while IFS=$'\t' read -r file included; do
  [[ -n $file ]] || continue
  target=${included%%/*}
  if [[ $included == */* && -n ${allowed[$target]:-} ]]; then
    fail "$file includes $included: classlib and platform sit below the engine's logic"
  fi
done <<<"$(quoted_includes engine/classlib engine/platform)"

# Outside the engine: engine/include ("dravik/...") only.
while IFS=$'\t' read -r file included; do
  [[ -n $file ]] || continue
  is_engine_path "$included" || continue
  case $file in
    tests/engine/* | tests/support/simulated_engine/* | bench/*) continue ;;
    tests/support/simulated_volume/*)
      [[ $included == platform/volume_io.h ]] && continue ;;
  esac
  fail "$file includes $included: engine internals are reached only through engine/include"
done <<<"$(quoted_includes toolkit common registry_scan app tests bench)"

while IFS=$'\t' read -r file included; do
  [[ -n $file ]] || continue
  if [[ $included == dravik/* ]]; then
    fail "$file includes $included: the toolkit knows no engine"
  fi
done <<<"$(quoted_includes toolkit)"

while IFS=$'\t' read -r file included; do
  [[ -n $file ]] || continue
  case $file in app/window/* | app/main.cpp) continue ;; esac
  if [[ $included == window/* ]]; then
    fail "$file includes $included: app/window is the program's top layer"
  fi
done <<<"$(quoted_includes app)"

if ((failures > 0)); then
  echo "check_layers: $failures forbidden include(s)" >&2
  exit 1
fi
echo "check_layers: every include keeps the layers"
