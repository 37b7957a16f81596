#!/usr/bin/env bash
# Measures the language server on a made-up rule file of 1,000 items (the benchmark's generator):
# the median time from a change to its diagnostics, and the server's memory after 1,000 changes
# against that after the first check. Uses the program in build/ and the client the tests install.
#   bench/lsp-speed.sh [ITEMS] [SEED]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
items="${1:-1000}"
seed="${2:-1}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -o "$work/generate_rules" "$root/bench/GenerateRuleFile.cpp" "$root/bench/RuleSynth.cpp" \
  "$root/bench/RoutineSynth.cpp" "$root/bench/RuleFileWriter.cpp"
"$work/generate_rules" "$items" "$seed" "$work/rules.pxkbx"
client="$root/build/lsp-client"
[ -d "$client/node_modules/vscode-languageserver-protocol" ] ||
  npm install --prefix "$client" --no-audit --no-fund --loglevel=error vscode-languageserver-protocol@3.17.5
echo "$items items, $(du -k "$work/rules.pxkbx" | cut -f1) KB"
RULE_FILE="$work/rules.pxkbx" NODE_PATH="$client/node_modules" \
  node "$root/tests/lsp/lsp-client.js" speed "$root/build/rulecast"
