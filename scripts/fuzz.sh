#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_FOLDER for SECONDS each, one after the other, from its
# corpus in fuzz/corpus (new inputs go to BUILD_FOLDER/corpus, findings to BUILD_FOLDER/findings).
# Prints per target the executions and the coverage of libFuzzer's last line; fails on a finding.
# Usage: scripts/fuzz.sh BUILD_FOLDER SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(numbers fields config fra details dxfclassic dxfcomplete dat records decoder generation gcode strategy)
fi
mkdir -p "$build/corpus" "$build/findings" "$build/logs"
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/logs/$t.log"
  : >"$log"
  status=ok
  runs=0
  start=$SECONDS
  # libFuzzer stops at its first timeout. The one-second limit is wall time: on a loaded
  # machine an input can pass it without being slow. Such an input is run again alone; only
  # a timeout that repeats is a finding, otherwise fuzzing goes on for the time left.
  while left=$((seconds - (SECONDS - start))); [ "$left" -gt 0 ]; do
    options=(-max_total_time="$left" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$build/findings/$t-")
    case $t in dxf*) options+=(-dict=fuzz/dxf.dict) ;; esac
    part="$build/logs/$t.part"
    if "$build/fuzz/fuzz_$t" "${options[@]}" "$build/corpus/$t" "fuzz/corpus/$t" >"$part" 2>&1; then
      ended=yes
    else
      ended=no
    fi
    cat "$part" >>"$log"
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$part" | tail -1)
    runs=$((runs + ${n:-0}))
    [ "$ended" = yes ] && break
    retried=no
    for input in "$build/findings/$t"-timeout-*; do
      [ -e "$input" ] || continue
      if "$build/fuzz/fuzz_$t" -timeout=1 "$input" >>"$log" 2>&1; then
        status="ok, délai non reproduit ($(basename "$input"))"
        mv "$input" "$build/findings/non-reproduit-$(basename "$input")"
        retried=yes
      fi
    done
    if [ "$retried" = no ]; then
      status=ÉCHEC
      failed+=("$t")
      break
    fi
  done
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  echo "$t: $status, $runs exécutions en $((SECONDS - start)) s, ${last:-pas de couverture}"
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "Cibles en échec : ${failed[*]} (journaux dans $build/logs, entrées dans $build/findings)"
  exit 1
fi
