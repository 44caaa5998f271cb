#!/usr/bin/env bash
# scripts/dist signing in the first copy the reproducible test left, with a throwaway CA made
# here: a code-signing certificate in a password-protected .pfx and a time stamp from an offline
# RFC 3161 authority (tsa_server.py), and the same key through PKCS#11 (SoftHSM). Then: osslsigncode verify accepts the exe, SHA-256, with
# the product name, the vendor URL and the time stamp; the vendor's CompanyName is in the version
# resource; without the signature it is the built exe again; sha256sum -c accepts dist/ and the
# zip holds the signed exe; half a key, or roots that do not trust the signer, fail scripts/dist;
# and the signed exe still installs under Wine.
set -u
source "$1"
source "$(dirname "$0")/../app/e2e/e2e_lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
copy=$2/one/PrinterSetup
[ -x "$copy/scripts/dist" ] || { echo "no copy of the tree at $copy (release_reproducible makes it)"; exit 1; }
keys=$(mktemp -d)
tsa=
trap '[ -z "$tsa" ] || kill "$tsa"; rm -rf "$keys"' EXIT

# A CA, and under it a code-signing and a time-stamping certificate.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Release Test CA" -keyout "$keys/ca.key" \
  -out "$keys/ca.crt" -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null || exit 1
for kind in sign tsa; do
  usage=codeSigning
  [ $kind = tsa ] && usage=critical,timeStamping
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' $usage >"$keys/$kind.ext"
  openssl req -newkey rsa:2048 -nodes -subj "/CN=Release Test $kind" -keyout "$keys/$kind.key" -out "$keys/$kind.csr" 2>/dev/null &&
    openssl x509 -req -in "$keys/$kind.csr" -CA "$keys/ca.crt" -CAkey "$keys/ca.key" -CAcreateserial -days 1 \
      -sha256 -extfile "$keys/$kind.ext" -out "$keys/$kind.crt" 2>/dev/null || exit 1
done
openssl pkcs12 -export -inkey "$keys/sign.key" -in "$keys/sign.crt" -certfile "$keys/ca.crt" \
  -passout pass:release-test -out "$keys/sign.pfx" || exit 1
# A CA that never signed anything here.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Unrelated CA" -keyout "$keys/other.key" \
  -out "$keys/other.crt" 2>/dev/null || exit 1
echo 01 >"$keys/tsa.serial"
cat >"$keys/tsa.cnf" <<EOF_TSA
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = $keys/tsa.serial
signer_cert = $keys/tsa.crt
signer_key = $keys/tsa.key
certs = $keys/ca.crt
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha256, sha384, sha512
ess_cert_id_alg = sha256
EOF_TSA
exec 3< <(python3 "$here/tsa_server.py" "$keys/tsa.cnf")
tsa=$!
read -r -t 30 port <&3 || { echo "the time-stamp server did not start"; exit 1; }

SOURCE_DATE_EPOCH=$(git -C "$E2E_REPO_DIR" log -1 --format=%ct) || exit 1
export SOURCE_DATE_EPOCH SKIP_SETUP=1
log=$keys/dist.log
dist() {
  (cd "$copy" && scripts/dist "-DPRINTERSETUP_COMPANY_NAME=Release Test Labels Ltd" \
    -DPRINTERSETUP_VENDOR_URL=https://labels.test/printersetup) >"$log" 2>&1
}
signed_dist() {  # <roots to verify with>: scripts/dist with the test's .pfx and time stamp
  (
    export SIGN_PKCS12=$keys/sign.pfx SIGN_PASSWORD=release-test SIGN_TIMESTAMP_URL=http://127.0.0.1:$port
    export SIGN_VERIFY_CAFILE=$1 SIGN_VERIFY_TSA_CAFILE=$keys/ca.crt
    dist
  )
}

(export SIGN_PKCS11_MODULE=/usr/lib/none.so; dist) && e2e_fail "half a PKCS#11 key was taken"
e2e_expect_text "$log" "needs all of SIGN_PKCS11_MODULE, SIGN_KEY and SIGN_CERT"

signed_dist "$keys/other.crt" && e2e_fail "a signature the given roots do not trust passed"
e2e_expect_line "$log" "Signature verification: failed"
[ ! -e "$copy/dist" ] || e2e_fail "a signing that did not verify left dist/ behind"

# The same key in a software token, through PKCS#11, without a time stamp.
export SOFTHSM2_CONF=$keys/softhsm2.conf
mkdir "$keys/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\n' "$keys/tokens" >"$SOFTHSM2_CONF"
openssl pkcs8 -topk8 -nocrypt -in "$keys/sign.key" -out "$keys/sign.p8" &&
  softhsm2-util --init-token --free --label release --pin 1234 --so-pin 4321 >/dev/null &&
  softhsm2-util --import "$keys/sign.p8" --token release --label signing --id 01 --pin 1234 >/dev/null || exit 1
cat "$keys/sign.crt" "$keys/ca.crt" >"$keys/chain.pem"
module=$(dpkg -L libsofthsm2 | grep -m1 '/libsofthsm2\.so$')
if (export SIGN_PKCS11_MODULE=$module SIGN_KEY='pkcs11:token=release;object=signing;type=private' \
      SIGN_CERT=$keys/chain.pem SIGN_PASSWORD=1234 SIGN_VERIFY_CAFILE=$keys/ca.crt; dist); then
  e2e_expect_line_start "$log" "dist: signed dist/PrinterSetup/PrinterSetup.exe (pkcs11 key, SHA-256, not time-stamped"
  osslsigncode verify -in "$copy/dist/PrinterSetup/PrinterSetup.exe" -CAfile "$keys/ca.crt" >"$keys/verify.out" 2>&1
  e2e_expect_line "$keys/verify.out" "Signature verification: ok"
else
  cat "$log"
  e2e_fail "scripts/dist with a PKCS#11 key failed"
fi

if signed_dist "$keys/ca.crt"; then
  grep '^dist: signed ' "$log"
else
  cat "$log"
  e2e_fail "signed scripts/dist failed"
fi
exe=$copy/dist/PrinterSetup/PrinterSetup.exe
osslsigncode verify -in "$exe" -CAfile "$keys/ca.crt" -TSA-CAfile "$keys/ca.crt" >"$keys/verify.out" 2>&1
e2e_expect_line "$keys/verify.out" "Signature verification: ok"
e2e_expect_line "$keys/verify.out" "Timestamp Server Signature verification: ok"
e2e_expect_line "$keys/verify.out" "Message digest algorithm: SHA256"
e2e_expect_text "$keys/verify.out" "Text description: PrinterSetup"
e2e_expect_text "$keys/verify.out" "URL description: https://labels.test/printersetup"
e2e_expect_text "$keys/verify.out" "Subject: /CN=Release Test sign"
# Signing adds the signature and changes nothing else.
osslsigncode remove-signature -in "$exe" -out "$keys/unsigned.exe" >/dev/null 2>&1
cmp -s "$keys/unsigned.exe" "$copy/build/win32/src/app/PrinterSetup.exe" ||
  e2e_fail "the signed exe without its signature is not the exe the build made"
strings -el "$exe" >"$keys/strings.out"
e2e_expect_line "$keys/strings.out" "Release Test Labels Ltd"
(cd "$copy/dist" && sha256sum --quiet -c SHA256SUMS) || e2e_fail "sha256sum -c rejects the signed dist/"
version=$(sed -n 's/.*project(PrinterSetup VERSION \([0-9.]*\).*/\1/p' "$E2E_REPO_DIR/CMakeLists.txt")
unzip -p "$copy/dist/PrinterSetup-$version.zip" PrinterSetup/PrinterSetup.exe | cmp -s - "$exe" ||
  e2e_fail "the zip does not hold the signed exe"

# The signed exe installs as the unsigned one does.
e2e_setup || exit 1
name="Release Signed $(e2e_tag)"
address=10.46.$((RANDOM % 250)).1
run=$(e2e_config "$name" ETH "$address" | e2e_layout release-signed "$exe")
e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$address" LBLENG)"
e2e_done "$run"
