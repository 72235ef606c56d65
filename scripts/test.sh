#!/usr/bin/env bash
# Installs what is missing, builds Talvo, and runs every test: once in an
# ordinary build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
talvo_install

export QT_QPA_PLATFORM=offscreen
# CI builds with warnings as errors, so that no warning lands.
werror=()
[ "${CI:-}" = true ] && werror=(-DCMAKE_CXX_FLAGS=-Werror)
talvo_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}"
(cd "$TALVO_ROOT/build" && ctest --output-on-failure -j "$(nproc)")

sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# The Python module is tested in the first build: an interpreter without the
# sanitizers' runtime cannot load an instrumented extension.
talvo_build build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$sanitize" -DTALVO_BUILD_PYTHON=OFF \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
(cd "$TALVO_ROOT/build-asan" && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$TALVO_ROOT/tests/lsan.supp" \
  ctest --output-on-failure -j "$(nproc)")
