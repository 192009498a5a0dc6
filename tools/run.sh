#!/usr/bin/env bash
# `make run`: a short headless run of the engine, one line per generation.
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/native/bin/life-render --size 1024x768 --seed 42 --ticks 20 --stats
