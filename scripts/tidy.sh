#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over the project's own sources,
# as the release build compiles them. Any finding fails the run.
# Usage: tidy.sh [FILE-REGEX]   e.g. tidy.sh 'report/expr/'
set -euo pipefail
cd "$(dirname "$0")/.."
DB=build/release
[ -f "$DB/compile_commands.json" ] || bash scripts/build.sh Release
# Generated sources (moc, resources) are not ours to judge.
FILES="$PWD/(app|bench|dates|db|platform|report|tests|textprinter|tools)/.*${1:-}.*\.cpp$"
start=$(date +%s)
rc=0
nice -n 10 run-clang-tidy-14 -quiet -p "$DB" -j "$(nproc)" "$FILES" >"$DB/clang-tidy.log" 2>&1 || rc=$?
grep -E '(warning|error): ' "$DB/clang-tidy.log" | sort -u || true
echo "clang-tidy: $(( $(date +%s) - start )) s, log in $DB/clang-tidy.log"
exit $rc
