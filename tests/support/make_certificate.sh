#!/bin/bash
# Makes a self-signed certificate for localhost (valid two days) for the local
# TLS test servers: DIR/NAME.pem, DIR/NAME.key and DIR/NAME.der.
#   make_certificate.sh DIR NAME
set -euo pipefail
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
    -addext subjectAltName=DNS:localhost \
    -keyout "$1/$2.key" -out "$1/$2.pem" 2>/dev/null
openssl x509 -in "$1/$2.pem" -outform der -out "$1/$2.der"
