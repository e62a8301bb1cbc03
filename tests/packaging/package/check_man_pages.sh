#!/usr/bin/env bash
# The manual pages against the programs: every page renders without a groff
# warning, every brptool command in its usage has a section in brptool(1), and
# every option that a program's usage names is in its page (in brptool's, in
# that command's section).
# Usage: check_man_pages.sh MAN_BUILD_DIR MAN_SOURCE_DIR PROGRAM...
set -euo pipefail
MAN="$1"; SRC="$2"; shift 2
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for page in "$MAN"/*.1; do
  warnings="$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Z "$page" 2>&1 >/dev/null || true)"
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# The options a usage text names, one a line.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u || true; }
# The text of one section ("## NAME") of an scdoc page.
section() { awk -v s="## $2" '$0 == s {on = 1; next} /^##? / {on = 0} on' "$1"; }

for program in "$@"; do
  name="$(basename "$program")"
  src="$SRC/$name.1.scd"
  [ -f "$src" ] || { fail "$name has no manual page"; continue; }
  [ -f "$MAN/$name.1" ] || fail "$name.1 was not built"
  usage="$("$program" --help 2>&1 >/dev/null || true)"
  if [ "$name" = brptool ]; then
    commands="$(printf '%s\n' "$usage" | sed -n '/^commands:/,$p' | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p')"
    [ -n "$commands" ] || fail "brptool's usage lists no commands"
    for cmd in $commands; do
      grep -qx "\.SS $cmd" "$MAN/brptool.1" || { fail "brptool $cmd has no section in brptool(1)"; continue; }
      text="$(section "$src" "$cmd")"
      # The options of the list line and of the command's own usage message.
      own="$("$program" "$cmd" 2>&1 >/dev/null </dev/null || true)"
      line="$(printf '%s\n' "$usage" | grep "^  $cmd " || true)"
      for opt in $(printf '%s\n%s\n' "$line" "$own" | options); do
        grep -qF -- "$opt" <<<"$text" || fail "brptool $cmd: $opt is not in its section"
      done
    done
  else
    for opt in $(printf '%s\n' "$usage" | options); do
      [ "$opt" = --help ] || grep -qF -- "$opt" "$src" || fail "$name: $opt is not in its page"
    done
  fi
done
((failures == 0)) || exit 1
echo "manual pages agree with the programs"
