#!/usr/bin/env bash
# Prints the release version: the one in the project() line of the top CMakeLists.txt.
set -euo pipefail
version=$(sed -n 's/^project(Velquin VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
[ -n "$version" ] || { echo "no version in the project() line of CMakeLists.txt" >&2; exit 1; }
echo "$version"
