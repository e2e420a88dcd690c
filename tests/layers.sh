#!/usr/bin/env bash
# The layers' direction: a file includes from its own top folder and from the
# folders below it, never from one above (README, "Where things are"). The
# privileged programs include from the store alone, and nothing of the game
# includes from them.
# Usage: layers.sh SOURCE_DIR
source "$(dirname "$0")/shell/lib.sh"
open_test
cd "$1"

# Each top folder's layer, lowest first; the window's four folders are one.
declare -A layer=([store]=0 [rules]=1 [privileged]=1 [platform]=2
                  [game]=3 [clock]=3 [record]=3 [ui]=3 [app]=4)

allowed() { # from-folder included-folder
  if [ "$1" = privileged ]; then
    [ "$2" = store ] || [ "$2" = privileged ]
  elif [ "$2" = privileged ]; then
    false
  else
    [ "${layer[$2]}" -le "${layer[$1]}" ]
  fi
}

upward=()
for folder in "${!layer[@]}"; do
  while IFS= read -r line; do
    file=${line%%:*}
    included=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
    top=${included%%/*}
    [ "$top" != "$included" ] || continue      # beside the file, in its own folder
    [ -n "${layer[$top]+set}" ] || continue    # not one of the layers' folders
    if ! allowed "$folder" "$top"; then
      upward+=("$file includes $included")
    fi
  done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include "' "$folder" --include='*.cpp' --include='*.h')
done
check "no file includes from a layer above its own" test "${#upward[@]}" = 0
[ "${#upward[@]}" = 0 ] || printf 'note - %s\n' "${upward[@]}"
summary
