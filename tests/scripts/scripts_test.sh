#!/usr/bin/env bash
# cmake/wine-run.sh with a stand-in loader: a test that died of a Wine client error, or quickly
# without a word, is rerun once and said to be; a failed assertion, a program that explains its
# failure, a stopped run and a program that is not a test are not. tools/lib.sh's build_jobs: the environment's
# number of jobs, else one per core, and a clear error for a number that is none.
# usage: scripts_test.sh SOURCE_DIR WORK_DIR
set -u
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work/prefix"
# A prepared prefix, Japanese fonts and all: nothing to set up.
touch "$work/prefix/system.reg" "$work/prefix/vardo-japanese-fonts"
failures=0

# The stand-in loader plays one step of $PLAN per run (space-separated) and counts its runs.
cat >"$work/wine" <<'LOADER'
#!/bin/sh
count=$(($(cat "$RUNS" 2>/dev/null || echo 0) + 1))
echo "$count" >"$RUNS"
set -- $PLAN
shift $((count - 1))
case $1 in
  pass) echo "[  PASSED  ] 1 test."; exit 0 ;;
  client) echo "Running main()"; echo "wine client error:0: recvmsg: connection reset by peer" >&2; exit 1 ;;
  silent) exit 3 ;;
  assert) echo "[  FAILED  ] Suite.Case (0 ms)"; exit 1 ;;
  assert_client) echo "[  FAILED  ] Suite.Case (0 ms)"; echo "wine client error:0: write: Bad file descriptor" >&2; exit 1 ;;
  told) echo "cannot open JWC_TEMP.TXT" >&2; exit 2 ;;
  slow) exec sleep 30 ;;
esac
LOADER
chmod +x "$work/wine"

check() {
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected '$3', got '$2'"
    failures=$((failures + 1))
  fi
}

# case NAME PLAN STATUS RUNS RERUN_SAID LAST_STDOUT
run_case() {
  local name=$1
  rm -f "$work/runs"
  local status=0
  PLAN=$2 RUNS="$work/runs" VARDO_WINE="$work/wine" WINEPREFIX="$work/prefix" \
    VARDO_WINE_RERUN=${RERUN-1} /bin/sh "$source_dir/cmake/wine-run.sh" program.exe \
    >"$work/out" 2>"$work/err" || status=$?
  check "$name: exit status" "$status" "$3"
  check "$name: runs" "$(cat "$work/runs")" "$4"
  local said=no
  grep -q "^wine-run.sh: rerun after a Wine client error" "$work/err" && said=yes
  check "$name: rerun reported" "$said" "$5"
  check "$name: output" "$(cat "$work/out")" "$6"
}

run_case "client error, then passed" "client pass" 0 2 yes "[  PASSED  ] 1 test."
run_case "silent death, then passed" "silent pass" 0 2 yes "[  PASSED  ] 1 test."
run_case "client error twice" "client client" 1 2 yes "Running main()"
run_case "passed" "pass" 0 1 no "[  PASSED  ] 1 test."
run_case "failed assertion" "assert pass" 1 1 no "[  FAILED  ] Suite.Case (0 ms)"
run_case "failed assertion, then a client error" "assert_client pass" 1 1 no \
  "[  FAILED  ] Suite.Case (0 ms)"
run_case "failure the program explains" "told pass" 2 1 no ""
RERUN= run_case "not a test" "client pass" 1 1 no "Running main()"
grep -q "wine client error:0: recvmsg" <(PLAN="client pass" RUNS="$work/runs2" \
  VARDO_WINE="$work/wine" WINEPREFIX="$work/prefix" VARDO_WINE_RERUN=1 \
  /bin/sh "$source_dir/cmake/wine-run.sh" x 2>&1)
check "the reason names Wine's message" "$?" 0

# A run stopped from outside (CTest's timeout) ends at once and is not rerun.
rm -f "$work/runs"
PLAN="slow pass" RUNS="$work/runs" VARDO_WINE="$work/wine" WINEPREFIX="$work/prefix" \
  VARDO_WINE_RERUN=1 /bin/sh "$source_dir/cmake/wine-run.sh" program.exe >"$work/out" \
  2>"$work/err" &
runner=$!
sleep 1
kill -TERM "$runner"
wait "$runner"
check "stopped run: exit status" "$?" 143
sleep 1
check "stopped run: runs" "$(cat "$work/runs")" 1

# build_jobs, as every script takes it.
jobs_with() {
  env -u VARDO_JOBS -u CMAKE_BUILD_PARALLEL_LEVEL "$@" \
    bash -c 'source "$0/tools/lib.sh" && build_jobs' "$source_dir" 2>"$work/jobs_err"
}
check "VARDO_JOBS" "$(jobs_with VARDO_JOBS=3)" 3
check "CMAKE_BUILD_PARALLEL_LEVEL" "$(jobs_with CMAKE_BUILD_PARALLEL_LEVEL=5)" 5
check "VARDO_JOBS before CMake's" "$(jobs_with VARDO_JOBS=2 CMAKE_BUILD_PARALLEL_LEVEL=5)" 2
check "neither" "$(jobs_with)" "$(nproc)"
jobs_with VARDO_JOBS=abc >/dev/null
check "not a number: status" "$?" 1
check "not a number: message" "$(grep -c "whole number above 0, not 'abc'" "$work/jobs_err")" 1
jobs_with VARDO_JOBS=0 >/dev/null
check "zero: status" "$?" 1

[ "$failures" -eq 0 ] && echo "all script checks passed"
exit $((failures > 0))
