#!/usr/bin/env bash
# Configures and builds the project in build/. Configuring every time is cheap and picks up
# source folders added since the last build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
