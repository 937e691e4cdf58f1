#!/usr/bin/env bash
# Regenerates the DEMO-ONLY signing keys, certificate authority and server certificate under demo/.
# They are public in this repository and protect nothing: never use them for a real deployment.
set -euo pipefail
cd "$(dirname "$0")"

for n in 1 2; do
  openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out keys/demo-signing-$n.pem 2>/dev/null
  openssl pkey -in keys/demo-signing-$n.pem -pubout -out keys/demo-signing-$n.pub.pem
done

openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Vexmor DEMO-ONLY certificate authority" \
  -keyout tls/demo-ca.key -out tls/demo-ca.pem \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" -keyout tls/demo-server.key -out tls/demo-server.csr 2>/dev/null
openssl x509 -req -in tls/demo-server.csr -CA tls/demo-ca.pem -CAkey tls/demo-ca.key -CAcreateserial -days 3650 \
  -extfile <(printf "subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n") \
  -out tls/demo-server.pem 2>/dev/null
rm -f tls/demo-server.csr tls/demo-ca.srl
