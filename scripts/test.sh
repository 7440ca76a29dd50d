#!/usr/bin/env bash
# Sets up and runs every test: the native unit tests (ASan + UBSan) with the fuzz corpora
# replayed and the Qt windows offscreen, checks of both built exes, the backend cases on both
# backends against one Wine prefix, discovery over Wine-made prefixes, the installed Linux
# program under Xvfb, the Windows zip and the Debian package (lintian, installed with apt-get,
# run, purged), the portable Linux bundle (its files, and run on a bare Debian without Qt), the
# Linux program's saves while a Windows program under Wine holds the player file open, and the
# end-to-end tests of the real exe under Wine, for each Windows build this machine can run. Ends with one line "N passed, M failed" over its steps.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
source scripts/wine_host.sh

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
  for preset in linux-test linux-release win32 win64; do
    cmake --preset $preset >/dev/null && cmake --build --preset $preset || return 1
  done
}
step "build (native tests, the Linux program, 32-bit and 64-bit Windows)" build
if [ "$failed" -gt 0 ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
velquin_wine_note
wine_builds=()
for b in $VELQUIN_WINE_BUILDS; do wine_builds+=("build/$b"); done

step "format (clang-format)" scripts/check_format.sh
step "native unit tests" ctest --preset linux-test
step "both exes: kind, imports, size, manifest" tests/exe/check_exes.sh build/win32 build/win64
step "backends against one Wine prefix ($VELQUIN_WINE_BUILDS)" tests/backend/run_conformance.sh \
  build/linux-test/tests/velquin_backend_tests "${wine_builds[@]}"
step "the game found in prefixes that Wine made" tests/discovery/run_real_prefixes.sh build/linux-test
step "the installed Linux program under Xvfb" tests/linux/run_installed.sh build/linux-release build/linux-release \
  artifacts/linux
step "packages: the Windows zip, the Debian package and the Linux bundle (CPack)" scripts/package.sh
step "the Windows zip and the Linux bundle: their files, both exes, the bundle's C library" \
  tests/packages/check_archives.sh build/packages
step "the Debian package: lintian, apt-get install, the installed program, apt-get purge" \
  tests/packages/check_deb.sh build/packages build/linux-release artifacts/linux-deb
step "the Linux bundle on a bare Debian without Qt: ldd, the program, its window and save" \
  tests/packages/check_bundle_bare.sh build/packages build/linux-release artifacts/linux-bundle
step "the Linux program's saves while a Windows program under Wine holds plyr.sav ($VELQUIN_WINE_BUILDS)" \
  tests/linux/run_held_file.sh build/linux-test "${wine_builds[@]}"
for b in $VELQUIN_WINE_BUILDS; do
  step "the real $b exe under Wine and Xvfb" tests/e2e/run_e2e.sh "build/$b" "artifacts/e2e/$b"
done

echo
velquin_wine_note
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
