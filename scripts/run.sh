#!/usr/bin/env bash
# Starts the program from build/bin. On the first start it offers to create a new database
# in build/bin/data/; log in as 000 with an empty password.
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/bin/lanhehr "$@"
