#!/usr/bin/env bash
# Reads a storage file saved by Quilleteer with another compound-file reader
# (gsf) and checks its layout: records "1" to "n" at the top, each holding
# streams named by clipboard format numbers and one "Header" stream whose
# text starts with the quoted date.
set -euo pipefail
file=$1
listing=$(gsf list "$file" | tail -n +2)
records=$(awk '$1 == "d" && $3 != "*root*" && $3 !~ /\// {print $3}' <<<"$listing" | sort -n)
count=$(wc -l <<<"$records")
[ -n "$records" ] || { echo "no records in $file"; exit 1; }
if [ "$records" != "$(seq 1 "$count")" ]; then
  echo "records are not numbered 1 to $count"; exit 1
fi
if awk '$3 !~ /\// && $1 == "f"' <<<"$listing" | grep -q .; then
  echo "streams outside the records"; exit 1
fi
for n in $records; do
  names=$(awk -v r="$n/" 'index($3, r) == 1 {print substr($3, length(r) + 1)}' <<<"$listing")
  if grep -v -x -E '[0-9]+|Header' <<<"$names" | grep -q .; then
    echo "record $n holds elements that are neither formats nor Header: $names"; exit 1
  fi
  [ "$(grep -c -x Header <<<"$names")" -eq 1 ] || { echo "record $n has no Header"; exit 1; }
  header=$(gsf cat "$file" "$n/Header")
  [[ $header == \"*\",Text* ]] || { echo "record $n: unexpected Header: $header"; exit 1; }
done
echo "storage layout: $count records, each with numbered format streams and a Header"
