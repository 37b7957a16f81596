// Starts `rulecast --lsp` for rule files; everything else is the server's.
'use strict';
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration('rulecast').get('path') || 'rulecast';
  client = new LanguageClient('rulecast', 'Rulecast', { command, args: ['--lsp'] },
                              { documentSelector: [{ language: 'pxkbx' }] });
  context.subscriptions.push(client);
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
