#!/bin/sh
# Stands in for the user's browser and mail program in the Wine tests: Wine's browser hand-over
# runs it with the address as its last argument. Usage: record-handover.sh OUTPUT_FILE ADDRESS
# The address is written to OUTPUT_FILE, which appears whole or not at all.
out=$1
shift
printf '%s\n' "$*" > "$out.tmp" && mv "$out.tmp" "$out"
