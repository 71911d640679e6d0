#!/bin/sh
# A short fuzzing run for the test suite: gathers the seed files into a scratch corpus
# and runs the fuzzer for a fixed number of inputs.
# Usage: smoke_run.sh <fuzzer> <dictionary> <scratch corpus folder> <runs> <seed file or folder>...
set -eu
fuzzer=$1
dictionary=$2
corpus=$3
runs=$4
shift 4
rm -rf "$corpus"
mkdir -p "$corpus"
for seed in "$@"; do
  if [ -d "$seed" ]; then
    find "$seed" -maxdepth 1 -type f \( -name '*.tmx' -o -name '*.tsm' -o -name '*.xml' \) \
      -exec cp {} "$corpus"/ \;
  elif [ -f "$seed" ]; then
    cp "$seed" "$corpus"/
  fi
done
exec "$fuzzer" -runs="$runs" -max_total_time=60 -max_len=131072 -close_fd_mask=1 \
  -dict="$dictionary" "$corpus"
