#!/usr/bin/env bash
# Fails when a source file includes a header of ours from a folder its library must not
# depend on. Dependencies point one way (DESIGN.md, Layout):
#   platform <- core, treeview, controls <- ui <- app; the report engine (report/engine)
#   depends on platform alone; the report windows, print wizard and preview (report/)
#   may also use core, treeview, controls and ui/TdCommon.h; ui may use report (the main
#   window's Print opens the wizard).
# The widget part of platform (the desktop units in platform/CMakeLists.txt) is out of
# reach of the libraries that must not link Qt Widgets: platform's own base, core, the
# report engine and the tree control's core. Tests, benchmarks, fuzz targets and the
# program may include anything.
# Usage: scripts/check-includes.sh [source root]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# Folder of a library -> the folders (or single headers) of ours its files may include.
declare -A allowed=(
  [platform]="platform/"
  [core]="platform/ core/"
  [treeview]="platform/ treeview/"
  [controls]="platform/ controls/"
  [ui]="platform/ core/ treeview/ controls/ report/ ui/"
  [report/engine]="platform/ report/engine/"
  [report]="platform/ core/ treeview/ controls/ report/ ui/TdCommon.h"
)
desktop_units="$(sed -n 's/^set(desktop_units \(.*\))/\1/p' platform/CMakeLists.txt)"
widget_headers=()
for unit in $desktop_units; do widget_headers+=("platform/$unit.h"); done

failures=0
report_failure() {
  echo "$1:$2: includes \"$3\": $4" >&2
  failures=$((failures + 1))
}

is_widget_header() {
  local widget
  for widget in "${widget_headers[@]}"; do
    if [ "$1" = "$widget" ]; then return 0; fi
  done
  return 1
}

# The includes of our headers in the given files, as "file:line:header".
our_includes() {
  grep -H -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(platform|core|treeview|controls|ui|report|app)/' \
    "$@" 2>/dev/null | sed -E 's/^([^:]*):([0-9]*):[^"]*"([^"]*)".*/\1:\2:\3/' || true
}

check_folder() {
  local folder="$1" no_widgets="$2"
  local file line header ok prefix
  # Only the folder's own files: report/ does not take report/engine's rules.
  while IFS=: read -r file line header; do
    [ -n "$file" ] || continue
    ok=0
    for prefix in ${allowed[$folder]}; do
      if [[ "$prefix" == */ && "$header" == "$prefix"* ]] || [ "$header" = "$prefix" ]; then ok=1; fi
    done
    if [ "$ok" -eq 0 ]; then
      report_failure "$file" "$line" "$header" "$folder/ must not depend on ${header%/*}/"
    elif [ "$no_widgets" -eq 1 ] && is_widget_header "$header"; then
      report_failure "$file" "$line" "$header" "$folder/ must stay free of Qt Widgets (the desktop part of platform)"
    fi
  done < <(our_includes "$folder"/*.cpp "$folder"/*.h)
}

for folder in "${!allowed[@]}"; do
  no_widgets=0
  case "$folder" in core | report/engine) no_widgets=1 ;; esac
  check_folder "$folder" "$no_widgets"
done
# platform's base library: every file that is not a desktop unit.
while IFS=: read -r file line header; do
  [ -n "$file" ] || continue
  unit="$(basename "${file%.*}")"
  if [[ " $desktop_units " != *" $unit "* ]] && is_widget_header "$header"; then
    report_failure "$file" "$line" "$header" "platform's base must stay free of Qt Widgets (the desktop part of platform)"
  fi
done < <(our_includes platform/*.cpp platform/*.h)

# The tree control's widget-free core (core_units in treeview/CMakeLists.txt): platform's
# base and the other core units only, never the control built over it.
core_units="$(awk '/^set\(core_units/{f=1} f{print} f&&/\)/{exit}' treeview/CMakeLists.txt |
  sed -e 's/set(core_units//' -e 's/)//' | tr -s ' \n' '  ')"
is_core_unit() { [[ " $core_units " == *" $1 "* ]]; }
while IFS=: read -r file line header; do
  [ -n "$file" ] || continue
  is_core_unit "$(basename "${file%.*}")" || continue
  if is_widget_header "$header"; then
    report_failure "$file" "$line" "$header" "the tree's core must stay free of Qt Widgets (the desktop part of platform)"
  elif [[ "$header" == treeview/* ]] && ! is_core_unit "$(basename "${header%.*}")"; then
    report_failure "$file" "$line" "$header" "the tree's core must not depend on the control built over it"
  fi
done < <(our_includes treeview/*.cpp treeview/*.h)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) against the direction of the dependencies" >&2
  exit 1
fi
echo "Includes follow the direction of the dependencies"
