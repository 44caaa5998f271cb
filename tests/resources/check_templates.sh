#!/usr/bin/env bash
# The dialog templates, compiled as the build compiles them, hold exactly the layout listed below:
# identifiers, classes, styles, rectangles, fonts, design-time texts and template order.
set -u
rc_compiler=$1; source_dir=$2; here=$(cd "$(dirname "$0")" && pwd)
res=$(mktemp --suffix=.res)
"$rc_compiler" -I"$source_dir/src/resources" -O res "$source_dir/src/resources/wizard.rc" -o "$res" || exit 1
diff -u "$here/templates.expected" <(python3 "$here/dump_dialogs.py" "$res")
status=$?
rm -f "$res"
exit $status
