#!/bin/sh
# Builds the libFuzzer targets of tests/fuzz with clang (build/fuzz) and runs
# each in turn for FUZZ_SECONDS seconds, at the lowest priority, one at a
# time. New inputs go to build/fuzz/corpus/<target>, seeded from the saved
# corpus tests/fuzz/corpus/<target>; a crashing input goes to
# build/fuzz/artifacts/<target>/ and stops the run. Logs: build/fuzz/logs/.
#
#   scripts/fuzz.sh [target...]        FUZZ_SECONDS=900 scripts/fuzz.sh text
#
# FUZZ_MERGE=1 instead renews each saved corpus: a -merge=1 over the saved
# inputs and the ones found since, of which scripts/fuzz_pick.py keeps at
# most FUZZ_KEEP (40) that cover the most, and every crash-* input.
set -eu
cd "$(dirname "$0")/.."

SECONDS_EACH=${FUZZ_SECONDS:-60}
TARGETS=${*:-"text store inifile operand mul_div"}
SUDO=$([ "$(id -u)" = 0 ] || echo sudo)

missing=""
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing missing packages:$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi

cmake --preset fuzz >/dev/null
for t in $TARGETS; do
  nice -n 19 cmake --build build/fuzz --target "fuzz_$t" -j "${JOBS:-2}"
done

mkdir -p build/fuzz/logs
for t in $TARGETS; do
  saved=tests/fuzz/corpus/$t
  work=build/fuzz/corpus/$t
  mkdir -p "$saved" "$work" "build/fuzz/artifacts/$t"
  dict=""
  [ -f "tests/fuzz/$t.dict" ] && dict="-dict=tests/fuzz/$t.dict"
  if [ "${FUZZ_MERGE:-0}" = 1 ]; then
    fresh=build/fuzz/merged/$t
    rm -rf "$fresh" && mkdir -p "$fresh"
    nice -n 19 "build/fuzz/bin/fuzz_$t" -merge=1 -merge_control_file="$fresh.control" $dict \
      "$fresh" "$saved" "$work" >"build/fuzz/logs/$t.merge.log" 2>&1
    printf '%s: ' "$t"
    python3 scripts/fuzz_pick.py "$fresh.control" "$saved" "${FUZZ_KEEP:-40}"
    continue
  fi
  echo "fuzz_$t: ${SECONDS_EACH} s, log build/fuzz/logs/$t.log"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice -n 19 "build/fuzz/bin/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=20 \
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$t/" \
    $dict "$work" "$saved" >"build/fuzz/logs/$t.log" 2>&1 || {
    tail -n 40 "build/fuzz/logs/$t.log"
    echo "fuzz_$t found a fault: see build/fuzz/artifacts/$t/"
    exit 1
  }
  grep -E '^#[0-9]+[[:space:]]+DONE' "build/fuzz/logs/$t.log" | tail -n 1
done
