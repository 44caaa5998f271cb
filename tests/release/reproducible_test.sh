#!/usr/bin/env bash
# The tree, copied into two folders of different depth, through scripts/dist (unsigned) in each:
# every file of dist/ (exe, folder, zip, SHA256SUMS) is byte for byte the same in both; no
# folder of the build appears in a shipped file, as text or UTF-16; the zip is named after
# project()'s version and holds exactly the folder; sha256sum -c accepts dist/ and SHA256SUMS
# lists every file. The copies stay under <work> for the signing test.
set -u
repo=$1; work=$2
fail=0
bad() { echo "FAIL: $*"; fail=1; }
rm -rf "$work"
copies=("$work/one/PrinterSetup" "$work/second-folder/deeper/PrinterSetup")
# One commit for both: the time of the tree's last commit.
SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct) || exit 1
export SOURCE_DATE_EPOCH SKIP_SETUP=1
unset SIGN_PKCS12 SIGN_PASSWORD SIGN_PKCS11_MODULE SIGN_KEY SIGN_CERT SIGN_TIMESTAMP_URL
for copy in "${copies[@]}"; do
  mkdir -p "$copy"
  # The tree as it is now, tracked and new files alike, without build output.
  (cd "$repo" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done | tar --null -T - -cf -) |
    tar -xf - -C "$copy" || { echo "could not copy the tree to $copy"; exit 1; }
  start=$SECONDS
  (cd "$copy" && scripts/dist >dist.log 2>&1) || { cat "$copy/dist.log"; echo "scripts/dist failed in $copy"; exit 1; }
  echo "scripts/dist in $copy: $((SECONDS - start)) s"
  grep -q '^dist: unsigned ' "$copy/dist.log" || bad "no 'dist: unsigned' line in $copy"
done

a=${copies[0]}/dist b=${copies[1]}/dist
version=$(sed -n 's/.*project(PrinterSetup VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
zip=PrinterSetup-$version.zip
for f in PrinterSetup/PrinterSetup.exe "$zip" PrinterSetup.zip SHA256SUMS; do
  [ -f "$a/$f" ] || bad "no dist/$f"
done
echo "exe:  $(sha256sum "$a/PrinterSetup/PrinterSetup.exe" | cut -d' ' -f1)  $(sha256sum "$b/PrinterSetup/PrinterSetup.exe" | cut -d' ' -f1)"
echo "zip:  $(sha256sum "$a/$zip" | cut -d' ' -f1)  $(sha256sum "$b/$zip" | cut -d' ' -f1)"
diff -r -q "$a" "$b" || bad "the two folders' dist/ differ"

python3 - "$a" "$repo" "${copies[@]}" <<'PY' || fail=1
import os, sys
root, folders = sys.argv[1], sys.argv[2:]
found = 0
for where, _, names in os.walk(root):
    for name in names:
        data = open(os.path.join(where, name), "rb").read()
        for folder in folders:
            if folder.encode() in data or folder.encode("utf-16-le") in data:
                print(f"FAIL: {os.path.relpath(os.path.join(where, name), root)} holds the folder {folder}")
                found = 1
sys.exit(found)
PY

unpacked=$work/unpacked
mkdir -p "$unpacked"
unzip -q "$a/$zip" -d "$unpacked" && diff -r -q "$unpacked/PrinterSetup" "$a/PrinterSetup" || bad "$zip does not hold exactly dist/PrinterSetup/"
(cd "$a" && sha256sum --quiet -c SHA256SUMS) || bad "sha256sum -c rejects dist/SHA256SUMS"
listed=$(sed 's/^[0-9a-f]*  //' "$a/SHA256SUMS")
present=$(cd "$a" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort)
[ "$listed" = "$present" ] || bad "SHA256SUMS does not list exactly the files of dist/"
[ $fail = 0 ] && echo "release reproducible: $(wc -l <"$a/SHA256SUMS") files the same from both folders"
exit $fail
