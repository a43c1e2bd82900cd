#!/usr/bin/env bash
# Renders each manual page given with man's warnings switched on (at 80 columns, as a terminal shows it);
# fails on any warning or an empty page.
set -uo pipefail
status=0
for page in "$@"; do
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    lines=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -E UTF-8 -l "$page" 2>/dev/null | wc -l)
    if [ -n "$warnings" ] || [ "$lines" -lt 20 ]; then
        echo "$page: ${lines} lines"
        echo "$warnings"
        status=1
    fi
done
exit $status
