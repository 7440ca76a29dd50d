#!/usr/bin/env bash
# Sets up and runs every test: the native unit tests (ASan + UBSan), the backend cases on
# both backends against a Wine prefix, and the end-to-end tests of the real exe under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

passed=0 failed=0
step() {
  local name=$1
  shift
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "=== FAILED: $name"
  fi
}

build() {
  cmake --preset linux-test >/dev/null && cmake --build --preset linux-test &&
    cmake --preset win32 >/dev/null && cmake --build --preset win32
}
step "build (native and 32-bit Windows)" build || true
if [ "$failed" -gt 0 ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
step "format (clang-format)" scripts/check_format.sh
step "native unit tests" ctest --preset linux-test
step "backends against one Wine prefix" tests/backend/run_conformance.sh \
  build/linux-test/tests/velquin_backend_tests build/win32/tests/velquin_backend_tests.exe
step "the real exe under Wine and Xvfb" tests/e2e/run_e2e.sh build/win32 artifacts/e2e

echo
echo "test steps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
