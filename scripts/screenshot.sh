#!/usr/bin/env bash
# Takes the picture of the desktop program that the README shows: on a
# virtual X display with a window manager, the program is started, the two
# Iris dendrograms are typed at its prompts as a user would, and once the
# results stand in the Input/Output window the frame is photographed and
# closed. Writes docs/desktop.png (or the file given as the first argument).
# Needs a built program: scripts/build.sh, or BUILD_DIR for another build.
set -euo pipefail

# Inside the virtual display: the window manager, the program and the user.
session() {
  local program=$1 run_dir=$2 output=$3
  openbox >/dev/null 2>&1 &
  local window_manager=$!
  # A window mapped while the manager is still starting may stay unmapped.
  sleep 1
  cd "$run_dir"
  "$program" >program.log 2>&1 &
  local app=$!
  local frame=""
  for _ in $(seq 300); do
    frame=$(xdotool search --onlyvisible --name '^dendrocompare$' 2>/dev/null | head -1 || true)
    [[ -n "$frame" ]] && break
    sleep 0.1
  done
  if [[ -z "$frame" ]]; then
    echo "the frame did not appear" >&2
    cat program.log >&2
    kill "$app" "$window_manager" 2>/dev/null || true
    return 1
  fi
  sleep 1
  xdotool windowsize --sync "$frame" 760 520 2>/dev/null || true
  xdotool windowmove --sync "$frame" 40 60 2>/dev/null || true
  xdotool windowactivate --sync "$frame" 2>/dev/null || true
  sleep 0.5
  xdotool type --delay 30 "average.den"
  xdotool key Return
  sleep 0.5
  xdotool type --delay 30 "complete.den"
  xdotool key Return
  # The results file is put in place whole, just before the report.
  for _ in $(seq 600); do
    [[ -s MATRICES.DAT ]] && break
    sleep 0.1
  done
  sleep 1
  # The frame with the title bar the window manager draws: the screen, less
  # the bare black desktop around it.
  import -window root -trim +repage "$output"
  # Close the frame and leave the save prompt with No.
  xdotool key alt+F4
  sleep 0.5
  xdotool key alt+n
  local status=0
  wait "$app" || status=$?
  kill "$window_manager" 2>/dev/null || true
  return "$status"
}

if [[ ${1:-} == --session ]]; then
  shift
  session "$@"
  exit
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
output=$(realpath -m "${1:-$root/docs/desktop.png}")
program="$build/app/dendrocompare"
[[ -x "$program" ]] || { echo "no $program: build first (scripts/build.sh)" >&2; exit 1; }
for tool in xvfb-run openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done
mkdir -p "$(dirname "$output")"
run_dir=$(mktemp -d)
trap 'rm -rf "$run_dir"' EXIT
cp "$root/examples/iris/average.den" "$root/examples/iris/complete.den" "$run_dir/"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --session "$program" "$run_dir" "$output"
echo "Wrote $output"
