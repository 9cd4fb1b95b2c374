# Helpers of the whole-process benchmark scripts, sourced by them: timed runs of a program and
# its peer in alternating order, medians, ratios against a goal.
#
# Each pair runs once untimed (to warm the cache), then ROUNDS times each, the two alternating
# and each round starting with the other one, so that a burst of load on a shared machine falls
# on both alike. A command's output is thrown away; PREPARE (may be empty) runs before every
# timed run, outside the timing.

# bench_setup DEFAULT_WORK_DIR [BUILD_DIR] [WORK_DIR] [ROUNDS]: sets build (absolute; default
# build), work and rounds (default 5) from a script's arguments.
bench_setup() {
  build=$(cd "${2:-build}" && pwd)
  work=${3:-$1}
  rounds=${4:-5}
}

# bench_require PROGRAM...: stops the script when one of them is missing.
bench_require() {
  local program
  for program in "$@"; do
    [ -x "$program" ] || { echo "missing $program: build the benchmarks target (and run scripts/deps.sh bench)" >&2; exit 1; }
  done
}

# Runs a command string (in a subshell of its own, so that the times of its processes are the
# only ones counted); prints its wall time and the processor time (user and system) of its
# processes, in seconds, as WALL/CPU. Its exit status does not matter (tdbtool check ends with
# 1 when it finds problems). On a busy machine the processor time is the steadier measure.
bench_time() {
  local start end times
  times=$(mktemp)
  start=$EPOCHREALTIME
  (
    eval "$1" >/dev/null 2>&1 || true
    times >"$times"
  )
  end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'NR == 2 {
      split($1, u, /[ms]/); split($2, s, /[ms]/)
      printf "%.4f/%.4f", b - a, u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$times"
  rm -f "$times"
}

# The wall (field 1) or processor (field 2) times of a list of WALL/CPU pairs.
bench_field() {
  tr ' ' '\n' <<<"$2" | grep . | cut -d/ -f"$1" | tr '\n' ' '
}

# The median of numbers separated by spaces.
bench_median() {
  tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); print (NR % 2 ? v[m] : (v[m] + v[m + 1]) / 2) }'
}

# bench_pair NAME GOAL ROUNDS PREPARE PROGRAM PEER
# Prints the medians, the ratio program / peer, the goal (- for none) and every run, then the
# same for the processor time.
# Sets BENCH_RATIO to the ratio, BENCH_RUNS_A and BENCH_RUNS_B to the program's and the peer's
# times.
bench_pair() {
  local name=$1 goal=$2 rounds=$3 prepare=$4 program=$5 peer=$6
  local a="" b="" round
  eval "${prepare:-:}"
  eval "$program" >/dev/null 2>&1 || true
  eval "${prepare:-:}"
  eval "$peer" >/dev/null 2>&1 || true
  for ((round = 1; round <= rounds; ++round)); do
    if ((round % 2)); then
      eval "${prepare:-:}"; a+="$(bench_time "$program") "
      eval "${prepare:-:}"; b+="$(bench_time "$peer") "
    else
      eval "${prepare:-:}"; b+="$(bench_time "$peer") "
      eval "${prepare:-:}"; a+="$(bench_time "$program") "
    fi
  done
  local ma mb ca cb
  BENCH_RUNS_A=$(bench_field 1 "$a")
  BENCH_RUNS_B=$(bench_field 1 "$b")
  ma=$(bench_median "$BENCH_RUNS_A")
  mb=$(bench_median "$BENCH_RUNS_B")
  ca=$(bench_median "$(bench_field 2 "$a")")
  cb=$(bench_median "$(bench_field 2 "$b")")
  BENCH_RATIO=$(awk -v a="$ma" -v b="$mb" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
  local verdict="no goal"
  if [ "$goal" != - ]; then
    verdict="goal <= $goal, $(awk -v r="$BENCH_RATIO" -v g="$goal" 'BEGIN { print (r <= g ? "ok" : "ABOVE GOAL") }')"
  fi
  printf '%-44s %7.3f s vs %7.3f s  ratio %5s (%s)\n' "$name" "$ma" "$mb" "$BENCH_RATIO" "$verdict"
  printf '    runs: program %s| peer %s\n' "$BENCH_RUNS_A" "$BENCH_RUNS_B"
  awk -v a="$ca" -v b="$cb" -v runs="$(bench_field 2 "$a")| peer $(bench_field 2 "$b")" 'BEGIN {
    printf "    processor time (user + system): %.3f s vs %.3f s, ratio %.2f; runs: program %s\n", a, b, (b > 0 ? a / b : 0), runs }'
}

# bench_tdb_sizes WORK SIZES: makes, once, the generated 7-language database of each size (a
# number of strings) in WORK/SIZE: its text table table.txt, the same texts as lang0.po to
# lang6.po, and strings.tdb imported from the table. Needs $build.
bench_tdb_sizes() {
  local n d
  for n in $2; do
    d=$1/$n
    mkdir -p "$d"
    [ -f "$d/lang6.po" ] || "$build/bench/exchange_bench" --generate "$d" "$n" >/dev/null
    [ -f "$d/strings.tdb" ] || "$build/bin/tdbtool" import-table "$d/table.txt" "$d/strings.tdb"
  done
}
