#!/usr/bin/env bash
# The README's and the docs' examples, run on the built px-sim, so that the text cannot drift
# from the program, and their links checked:
#   readme_test.sh ROOT PX_SIM
# The pages are ROOT/README.md and ROOT/docs/*.md. In every fenced code block:
#   - each line that starts with `px-sim` or `build/linux/px-sim` runs with PX_SIM, in a scratch
#     folder that sees the repository's machines/, PX/ and tests/, and must end with the exit
#     code its comment gives ("# ... exit code N"), 0 when it gives none;
#   - a `toml` block that holds `program_folder` is a machine.toml: it must load (px-sim detect
#     on a folder holding it and the files the repository's machines name), without a warning.
# A block whose line above holds `<!-- readme-test: skip (why) -->` is left alone (usage lines,
# a run that waits for Enter).
# Outside code, every relative link `[text](PATH#ANCHOR)` must name a file or folder that exists
# (relative to its page) and, with an anchor on a Markdown page, one of that page's headings as
# GitHub spells its anchor: lower case, punctuation dropped, each blank a hyphen, a repeated
# heading with -1, -2 ... appended. A failure names the page and its line.
set -uo pipefail
root=$(cd "$1" && pwd)
px_sim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for name in machines PX tests; do ln -s "$root/$name" "$scratch/$name"; done

failures=0 commands=0 machines=0 links=0 page=""
fail() { echo "$page:$1: $2" >&2; failures=$((failures + 1)); }

# A page's lines as "KIND<TAB>LINE<TAB>TEXT": in a code block KIND is the block's language, or
# "skip"; outside one it is "text", with inline code spans removed.
lines() {
  awk '
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
    { line = $0; gsub(/`[^`]*`/, "", line); print "text\t" NR "\t" line }
  ' "$1"
}

# The anchors of a page's headings, one a line.
anchors() {
  awk '/^[[:space:]]*```/ { open = !open; next } !open && /^#+ / { sub(/^#+ +/, ""); print }' "$1" |
    tr '[:upper:]' '[:lower:]' | LC_ALL=C sed -e 's/[^a-z0-9 _\x80-\xff-]//g' -e 's/ /-/g' |
    awk '{ n = seen[$0]++; print n ? $0 "-" n : $0 }'
}

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
  local line=$1 dir="$scratch/machine-$machines" output status=0
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

check_links() {  # line, text outside code
  local line=$1 target path anchor file
  while read -r target; do
    target=${target#](} target=${target%)} target=${target%% *}
    case "$target" in http:* | https:* | mailto:* | "") continue ;; esac
    links=$((links + 1))
    path=${target%%#*} anchor=""
    [[ $target == *#* ]] && anchor=${target#*#}
    if [ -z "$path" ]; then file=$root/$page; else file=$(dirname "$root/$page")/$path; fi
    if [ ! -e "$file" ]; then
      fail "$line" "the link $target names $path, which is not there"
    elif [ -n "$anchor" ] && [[ $file == *.md ]] && ! anchors "$file" | grep -qxF -- "$anchor"; then
      fail "$line" "the link $target names #$anchor, which no heading of ${path:-this page} gives"
    fi
  done < <(grep -o '](\([^()]\|([^()]*)\)*)' <<<"$2")
}

check_page() {
  local toml="" toml_line=0 previous=0 kind line text
  flush_toml() {
    if [ -n "$toml" ] && grep -q '^[[:space:]]*program_folder' <<<"$toml"; then check_machine "$toml_line" "$toml"; fi
    toml=""
  }
  while IFS=$'\t' read -r kind line text; do
    [ "$line" -eq $((previous + 1)) ] && [ "$kind" = toml ] || flush_toml
    previous=$line
    case "$kind" in
      skip) ;;
      text) [[ $text == *"]("* ]] && check_links "$line" "$text" ;;
      toml)
        [ -z "$toml" ] && toml_line=$line
        toml+="$text"$'\n'
        ;;
      *)
        if [[ $text =~ ^[[:space:]]*(build/linux/)?px-sim[[:space:]] ]]; then run_command "$line" "$text"; fi
        ;;
    esac
  done < <(lines "$root/$page")
  flush_toml
}

pages=0
for file in "$root/README.md" "$root"/docs/*.md; do
  [ -f "$file" ] || continue
  page=${file#"$root/"}
  check_page
  pages=$((pages + 1))
done

echo "README and docs: $pages pages, $commands px-sim commands, $machines machine.toml examples, $links links, $failures failed"
[ "$failures" = 0 ] && [ "$commands" -gt 0 ] && [ "$machines" -gt 0 ] && [ "$links" -gt 0 ]
