#!/usr/bin/env bash
# The README's examples, run on the built px-sim, so that the text cannot drift from the program:
#   readme_test.sh README.md PX_SIM
# In every fenced code block:
#   - each line that starts with `px-sim` or `build/linux/px-sim` runs with PX_SIM, in a scratch
#     folder that sees the repository's machines/, PX/ and tests/, and must end with the exit
#     code its comment gives ("# ... exit code N"), 0 when it gives none;
#   - a `toml` block that holds `program_folder` is a machine.toml: it must load (px-sim detect
#     on a folder holding it and the files the repository's machines name), without a warning.
# A block whose line above holds `<!-- readme-test: skip (why) -->` is left alone (usage lines,
# a run that waits for Enter). A failure names the README's line.
set -uo pipefail
readme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
px_sim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
root=$(dirname "$readme")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for name in machines PX tests; do ln -s "$root/$name" "$scratch/$name"; done

failures=0 commands=0 machines=0
fail() { echo "README.md:$1: $2" >&2; failures=$((failures + 1)); }

# Block lines as "KIND<TAB>LINE<TAB>TEXT": KIND is the block's language, or "skip".
blocks=$(awk '
  /^[[:space:]]*```/ {
    if (!open) {
      open = 1; kind = skip ? "skip" : substr($0, index($0, "```") + 3); skip = 0
      if (kind == "") kind = "plain"
      next
    }
    open = 0; next
  }
  open { print kind "\t" NR "\t" $0; next }
  /<!-- readme-test: skip/ { skip = 1; next }
  NF { skip = 0 }
' "$readme")

run_command() {  # line, command text
  local line=$1 text=$2 expected=0 status=0 command output
  [[ $text =~ exit\ code\ ([0-9]+) ]] && expected=${BASH_REMATCH[1]}
  command=${text%%#*}
  command=${command#"${command%%[![:space:]]*}"}
  command=${command#build/linux/}
  command=${command#px-sim}
  output=$(cd "$scratch" && eval "timeout 120 \"\$px_sim\" $command" 2>&1 </dev/null) || status=$?
  commands=$((commands + 1))
  if [ "$status" != "$expected" ]; then
    fail "$line" "\"${text%%#*}\" ended with exit code $status, the text says $expected"$'\n'"$(tail -n 5 <<<"$output")"
  fi
}

check_machine() {  # first line, toml text
  local line=$1 dir="$scratch/machine-$1" output status=0
  mkdir -p "$dir"
  # The files the examples name: the built-in machine's and a capture's.
  for file in "$root"/machines/default/* "$root"/machines/replay-sample/*; do
    [ "$(basename "$file")" = machine.toml ] || ln -sf "$file" "$dir/"
  done
  printf '%s\n' "$2" >"$dir/machine.toml"
  output=$("$px_sim" detect "$dir" 2>&1) || status=$?
  machines=$((machines + 1))
  if [ "$status" != 0 ] || grep -q 'unknown language' <<<"$output"; then
    fail "$line" "the machine.toml example does not load (exit code $status)"$'\n'"$(tail -n 3 <<<"$output")"
  fi
}

toml="" toml_line=0 previous=0
flush_toml() {
  if [ -n "$toml" ] && grep -q '^[[:space:]]*program_folder' <<<"$toml"; then check_machine "$toml_line" "$toml"; fi
  toml=""
}
while IFS=$'\t' read -r kind line text; do
  [ "$line" -eq $((previous + 1)) ] || flush_toml
  previous=$line
  case "$kind" in
    skip) ;;
    toml)
      [ -z "$toml" ] && toml_line=$line
      toml+="$text"$'\n'
      ;;
    *)
      if [[ $text =~ ^[[:space:]]*(build/linux/)?px-sim[[:space:]] ]]; then run_command "$line" "$text"; fi
      ;;
  esac
done <<<"$blocks"
flush_toml

echo "README examples: $commands px-sim commands and $machines machine.toml examples, $failures failed"
[ "$failures" = 0 ] && [ "$commands" -gt 0 ] && [ "$machines" -gt 0 ]
