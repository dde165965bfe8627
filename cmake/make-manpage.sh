#!/usr/bin/env bash
# make-manpage.sh PLOTGATE INCLUDE OUTPUT: the manual page of the `plotgate` program
# PLOTGATE, made by help2man from its own --help and --version texts, with the --help text
# of every command after the program's, then the sections of the help2man include file
# INCLUDE (what it reads, ports, exit status, files, examples), and written gzip -9n to
# OUTPUT (plotgate.1.gz).
set -euo pipefail
plotgate=$1 include=$2 output=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# as_roff: a command's --help text as roff: its description and usage as paragraphs, each
# "Options:"-like heading as a paragraph, and each option (its name in columns 3 to 30
# and its description after them, or a longer name alone with the description on the
# lines below, indented 30) as a tagged
# paragraph. Backslashes are doubled, minus signs of names marked, and a line that starts
# with a dot or an apostrophe kept from reading as a request.
as_roff() {
  sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/" | awk '
    function tag(name) { sub(/ +$/, "", name); gsub(/-/, "\\-", name); print ".TP"; print name }
    # An option line whose description follows on the lines below is all name.
    pending != "" {
      if (length($0) > 30 && substr($0, 1, 30) ~ /^ +$/) {
        tag(substr(pending, 3))
      } else {
        tag(substr(pending, 3, 28)); text = substr(pending, 31); sub(/^ +/, "", text)
        if (text != "") print text
      }
      pending = ""
    }
    length($0) > 30 && substr($0, 1, 30) ~ /^ +$/ { sub(/^ +/, ""); print; next }
    /^  [^ ]/ { pending = $0; next }
    /^$/ { next }
    { print ".PP"; print }
    END { if (pending != "") { $0 = ""; tag(substr(pending, 3, 28)); text = substr(pending, 31); sub(/^ +/, "", text); if (text != "") print text } }'
}

# The commands, from the program's list of them.
commands=$("$plotgate" --help | sed -n '/^Subcommands:/,$ { s/^  \([a-z][a-z-]*\) .*/\1/p }')
{
  echo "[COMMANDS]"
  for command in $commands; do
    echo ".SS plotgate $command"
    "$plotgate" "$command" --help | as_roff
  done
} >"$work/commands.h2m"
help2man --no-info --no-discard-stderr --name "send CorelDRAW drawings to vinyl cutters" \
  --include "$work/commands.h2m" --include "$include" --output "$work/plotgate.1" "$plotgate"
gzip -9n <"$work/plotgate.1" >"$output"
