#!/usr/bin/env bash
# Saves pictures of the main window with the demo file open (plain, with the
# grade editor over a cell, and a second course) into a folder, default
# build/screenshots, rendered offscreen with the installed CJK font.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=${1:-$build/screenshots}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target test_mainwindow_screens
mkdir -p "$out"
GS_SCREENSHOT_DIR=$(cd "$out" && pwd) QT_QPA_PLATFORM=offscreen \
  "$build/tests/test_mainwindow_screens" -maxwarnings 0 >/dev/null
ls "$out"/mainwindow*.png
