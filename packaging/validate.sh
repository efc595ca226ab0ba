#!/usr/bin/env bash
# Checks the generated menu entries, AppStream metainfo and manual pages with
# the tools the desktop and Debian check them with.
#   usage: validate.sh FILE...
set -uo pipefail
status=0
for file in "$@"; do
  case "$file" in
    *.desktop) out=$(desktop-file-validate "$file" 2>&1) ;;
    *.metainfo.xml) out=$(appstreamcli validate --no-net --pedantic "$file" 2>&1 | grep -v 'Validation was successful\.$') ;;
    *.1) out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 > /dev/null) ;;
    *) out="unknown kind of file" ;;
  esac
  if [ -n "$out" ]; then
    echo "$file:"; echo "$out"; status=1
  fi
done
[ $status -eq 0 ] && echo "$# files valid"
exit $status
