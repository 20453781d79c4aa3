#!/usr/bin/env bash
# The README's key tables and the manual pages' KEYS sections name the same
# keys, so a key added to or dropped from one is not forgotten in the other.
# README: every `code` span of a "| key | effect |" row (or a plain first cell,
# as "arrows"); manual page: every bold span of the KEYS section.
set -euo pipefail
source=${PELORIN_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}

readme_keys() { # HEADING_START
  perl -e '
    my $want = shift; my ($in, $table) = (0, 0);
    while (<>) {
      if (/^## /) { $in = /^## \Q$want\E/; $table = 0; next }
      next unless $in;
      if (/^\| key \| effect \|/) { $table = 1; next }
      if ($table && /^\|/) {
        next if /^\|---/;
        my $first = (split /\|/)[1];
        my @keys = /`([^`]+)`/g;
        push @keys, $first =~ s/^\s+|\s+$//gr unless $first =~ /`/;
        print "$_\n" for @keys;
      } else { $table = 0 }
    }' "$1" "$source/README.md" | sort -u
}

man_keys() { # PAGE
  perl -ne '
    if (/^\.SH /) { $in = /^\.SH KEYS\b/; next }
    next unless $in;
    while (/\\fB(.*?)\\fR/g) {
      my $key = $1; $key =~ s/\\-/-/g; $key =~ s/\\e/\\/g; $key =~ s/\\&//g;
      print "$key\n";
    }' "$source/packaging/man/$1" | sort -u
}

status=0
compare() { # HEADING_START PAGE
  local readme man
  readme=$(readme_keys "$1")
  man=$(man_keys "$2")
  if [ -z "$readme" ] || [ -z "$man" ]; then
    echo "FAIL: no keys found for $2 (README section \"$1\": $(wc -w <<<"$readme") keys)" >&2
    status=1
  elif [ "$readme" != "$man" ]; then
    echo "FAIL: keys of README \"$1\" (<) and $2 (>) differ:" >&2
    diff <(echo "$readme") <(echo "$man") | grep '^[<>]' >&2 || true
    status=1
  fi
}
compare "Flying" pelorin.6
compare "Painting a landscape" pelorin-editor.6
exit $status
