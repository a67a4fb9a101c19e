#!/bin/sh
# Redraws res/images/ (toolbar strips, record-kind icons, application icon,
# cursor pictures and cursors, each in the sizes scaled screens need)
# from tools/make-images.cpp, and writes enlarged PNG previews to
# build/images/preview/ for checking. Run: tools/make-images.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/build/images"
${CXX:-g++} -std=c++20 -O2 -Wall -Wextra -o "$root/build/images/make-images" "$root/tools/make-images.cpp"
"$root/build/images/make-images" "$root/res/images" "$root/build/images/preview"
