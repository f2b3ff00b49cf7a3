#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Builds the libFuzzer targets with clang in build/fuzz and fuzzes the leading-number reader for
# the given number of seconds (30 by default), starting from the checked-in corpus. Exits non-zero
# when the fuzzer finds a crash or a broken property; the input that did it lands in build/fuzz.
set -eu
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"

# Warnings are errors here as in the presets: the fuzzer is the project's own build.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DLCTUNE_BUILD_FUZZ=ON -DLCTUNE_LIBFUZZER=ON -DBUILD_TESTING=OFF
cmake --build "$build" --target fuzz_leading_number -j2

# New inputs go to a scratch directory, so the checked-in corpus stays small and reviewed.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/fuzz/fuzz_leading_number" -max_total_time="$seconds" -max_len=1024 \
    -artifact_prefix="$build/" "$scratch" "$root/fuzz/corpus/leading_number"
