#!/usr/bin/env bash
# Checks that every snippet of docs/guide.md is its source as it stands. A line
# "<!-- snippet: FILE -->" or "<!-- snippet: FILE NAME -->" is followed by a
# fenced block that must equal FILE, or the lines of FILE between the comment
# lines "[NAME]" and "[/NAME]". Prints each stale snippet; exits with their number.
set -uo pipefail
cd "$(dirname "$0")/.."
guide=docs/guide.md
stale=0
while IFS=: read -r line marker; do
  target=$(echo "$marker" | sed -E 's/^<!-- snippet: (.*) -->$/\1/')
  file=${target%% *}
  name=""
  [ "$target" != "$file" ] && name=${target#* }
  quoted=$(awk -v fence=$((line + 1)) 'NR > fence && /^```/ { exit } NR > fence { print }' "$guide")
  if [ ! -f "$file" ]; then
    source=""
  elif [ -z "$name" ]; then
    source=$(cat "$file")
  else
    source=$(awk -v opening="[$name]" -v closing="[/$name]" '
      { text = $0; sub(/^[ \t]*(\/\/|#)[ \t]*/, "", text) }
      text == closing { inside = 0 }
      inside { print }
      text == opening { inside = 1 }' "$file")
  fi
  if [ -z "$source" ] || [ "$quoted" != "$source" ]; then
    echo "stale snippet: $guide:$line ($target)"
    stale=$((stale + 1))
  fi
done < <(grep -n '^<!-- snippet: .* -->$' "$guide")
exit "$stale"
