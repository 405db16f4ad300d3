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
  targets=(numbers fields config fra details dxfclassic dxfcomplete dat records decoder generation)
fi
mkdir -p "$build/corpus" "$build/findings" "$build/logs"
failed=()
for t in "${targets[@]}"; do
  options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build/findings/$t-")
  case $t in dxf*) options+=(-dict=fuzz/dxf.dict) ;; esac
  mkdir -p "$build/corpus/$t"
  log="$build/logs/$t.log"
  if "$build/fuzz/fuzz_$t" "${options[@]}" "$build/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    status=ok
  else
    status=ÉCHEC
    # The one-second limit is wall time: on a loaded machine an input can pass it without
    # being slow. Such an input is run again alone; only a timeout that repeats is a finding.
    for input in "$build/findings/$t"-timeout-*; do
      [ -e "$input" ] || continue
      if "$build/fuzz/fuzz_$t" -timeout=1 "$input" >>"$log" 2>&1; then
        status="arrêté par un délai non reproduit ($(basename "$input"))"
        mv "$input" "$build/findings/non-reproduit-$(basename "$input")"
      fi
    done
    [ "$status" = ÉCHEC ] && failed+=("$t")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  echo "$t: $status, ${runs:-?} exécutions, ${last:-pas de couverture}"
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "Cibles en échec : ${failed[*]} (journaux dans $build/logs, entrées dans $build/findings)"
  exit 1
fi
