// Drives `rulecast --lsp` with the client library VS Code's own client is built on
// (vscode-languageserver-protocol over vscode-jsonrpc), as an editor would.
//   node lsp-client.js CASE PROGRAM [LAUNCHER...]
// CASE: diagnostics, outline, navigation, robustness; or speed, which measures on the rule file
// that RULE_FILE names and prints the figures.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');
const assert = require('assert');
const rpc = require('vscode-languageserver-protocol/node');

const [caseName, program, ...launcher] = process.argv.slice(2);
const source = path.resolve(__dirname, '..', '..');
const uri = 'file:///work/rules/Pump.pxkbx';

function start() {
  const [command, ...args] = launcher.length ? [...launcher, program] : [program];
  const child = spawn(command, [...args, '--lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  // What the library logs: among it, the answers to messages that had no id.
  const logged = [];
  const logger = { error: (m) => logged.push(m), warn: (m) => logged.push(m), info: () => {}, log: () => {} };
  const connection = rpc.createProtocolConnection(new rpc.StreamMessageReader(child.stdout),
                                                  new rpc.StreamMessageWriter(child.stdin), logger);
  const published = [];
  const waiters = [];
  connection.onNotification(rpc.PublishDiagnosticsNotification.type, (params) => {
    published.push(params);
    for (const waiter of waiters.splice(0))
      waiter();
  });
  connection.listen();
  // The next diagnostics of uri that satisfy test, waiting for them when need be.
  const diagnostics = async (test = () => true, seconds = 20) => {
    const deadline = Date.now() + seconds * 1000;
    for (;;) {
      const found = published.find((p) => p.uri === uri && test(p));
      if (found)
        return found;
      assert(Date.now() < deadline, 'no diagnostics came: ' + JSON.stringify(published));
      await new Promise((resolve) => { waiters.push(resolve); setTimeout(resolve, 200); });
    }
  };
  return { child, connection, exited, published, diagnostics, logged };
}

async function initialized(server) {
  const result = await server.connection.sendRequest(rpc.InitializeRequest.type,
    { processId: null, rootUri: null, capabilities: {} });
  assert.strictEqual(result.capabilities.textDocumentSync.change, rpc.TextDocumentSyncKind.Incremental);
  server.connection.sendNotification(rpc.InitializedNotification.type, {});
  return server;
}

function open(server, text, version = 1) {
  server.connection.sendNotification(rpc.DidOpenTextDocumentNotification.type,
    { textDocument: { uri, languageId: 'pxkbx', version, text } });
}

async function stop(server) {
  await server.connection.sendRequest(rpc.ShutdownRequest.type);
  server.connection.sendNotification(rpc.ExitNotification.type);
  assert.strictEqual(await server.exited, 0);
}

// A Method with two VB errors: one on the CDATA's first line, after a character that takes two
// UTF-16 code units and after the routine's name, which the project renames (Calc_Pump); one
// after a non-ASCII name. And one in the global code, whose lines the project takes without their
// indentation.
const faulty = [
  '<KnowledgeBase name="Plant">',
  '  <Classblock name="Pump">',
  '    <Method name="Calc" displayname="Größe 🚀" interactive="false" secure="true" casefixed="true"><![CDATA[Public Function Calc(Obj As IPXQObject) As Variant Variant',
  '    Dim Größe As Variant',
  '    Größe = (1 + 2',
  '    Calc = Größe',
  'End Function',
  ']]></Method>',
  '  </Classblock>',
  '  <GlobalCode><![CDATA[',
  'Public Sub Tally()',
  '    Dim n As As Long',
  'End Sub',
  ']]></GlobalCode>',
  '</KnowledgeBase>',
  ''].join('\n');

const cases = {
  async diagnostics() {
    const server = await initialized(start());
    open(server, faulty);
    const first = await server.diagnostics((p) => p.diagnostics.length > 0);
    assert.strictEqual(first.version, 1);
    const lines = faulty.split('\n');
    const spot = (line, text, length = text.length) => {
      const character = lines[line].lastIndexOf(text);
      return { start: { line, character }, end: { line, character: character + length } };
    };
    assert.deepStrictEqual(first.diagnostics.map((d) => [d.source, d.severity, d.range]), [
      ['rulecast', rpc.DiagnosticSeverity.Warning, spot(2, 'Variant')],
      ['rulecast', rpc.DiagnosticSeverity.Warning, spot(4, '2')],
      ['rulecast', rpc.DiagnosticSeverity.Warning, spot(11, 'Long')]]);
    assert.match(first.diagnostics[0].message, /^VB6 compile error: .*end of statement/);
    // The fixes, typed as an editor sends them: the second word taken away, ")" put at a line's end.
    server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
      textDocument: { uri, version: 2 },
      contentChanges: [{ range: spot(2, ' Variant'), text: '' },
                       { range: { start: { line: 4, character: 18 }, end: { line: 4, character: 18 } }, text: ')' },
                       { range: spot(11, 'As Long', 3), text: '' }],
    });
    const fixed = await server.diagnostics((p) => p.version === 2);
    assert.deepStrictEqual(fixed.diagnostics, []);
    // A reader error fails the conversion: severity error, at the element's start tag.
    server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
      textDocument: { uri, version: 3 },
      contentChanges: [{ range: spot(2, ' casefixed="true"'), text: '' }],
    });
    const broken = await server.diagnostics((p) => p.version === 3);
    assert.deepStrictEqual(broken.diagnostics.map((d) => [d.severity, d.range.start, d.message]),
      [[rpc.DiagnosticSeverity.Error, { line: 2, character: 4 }, "Method 'Calc' in class 'Pump' has no attribute 'casefixed'"]]);
    await stop(server);
  },

  async outline() {
    const server = await initialized(start());
    open(server, fs.readFileSync(path.join(source, 'examples', 'Plant.pxkbx'), 'utf8'));
    const symbols = await server.connection.sendRequest(rpc.DocumentSymbolRequest.type, { textDocument: { uri } });
    const tree = (list) => list.map((s) => (s.children.length ? [s.name, tree(s.children)] : s.name));
    assert.deepStrictEqual(tree(symbols), [
      ['GlobalCode', ['FormatReading', ['PumpStatistics', ['Reset']], 'PlantTitle']],
      ['Pump', ['Calc', 'FindValve', 'Created']],
      'Overheat', 'CheckLimits', 'ByTemp', 'Running', 'AllObjects']);
    const calc = symbols.find((s) => s.name === 'Pump').children.find((s) => s.name === 'Calc');
    assert.deepStrictEqual([calc.range.start, calc.range.end, calc.selectionRange.start],
      [{ line: 27, character: 4 }, { line: 36, character: 12 }, { line: 27, character: 18 }]);
    await stop(server);
  },

  async navigation() {
    const server = await initialized(start());
    // The Rule calls the Method's routine by its name in the project, and a function of the global code.
    const text = fs.readFileSync(path.join(source, 'examples', 'Plant.pxkbx'), 'utf8')
      .replace('CheckLimits = ""', 'CheckLimits = Calc_Pump(Nothing, 1, 2)');
    open(server, text);
    await server.diagnostics();
    const lines = text.split('\n');
    const at = (pattern, offset = 0) => {
      const line = lines.findIndex((l) => l.includes(pattern));
      return { line, character: lines[line].indexOf(pattern) + offset };
    };
    const navigation = [
      [['FormatReading(Reading)', 2], ['Private Function FormatReading', 17]],
      [['Calc_Pump(Nothing', 6], ['Public Function Calc(Obj', 16]],
    ];
    for (const [from, to] of navigation) {
      const location = await server.connection.sendRequest(rpc.DefinitionRequest.type,
        { textDocument: { uri }, position: at(from[0], from[1]) });
      assert(location, 'no definition for ' + from);
      assert.deepStrictEqual(location.range.start, at(to[0], to[1]), from[0]);
    }
    const hover = await server.connection.sendRequest(rpc.HoverRequest.type,
      { textDocument: { uri }, position: at('<Method name="Calc"', 3) });
    for (const part of ['item ID 1', '`Calc_Pump`', 'PXQDataService_RunMethod = Calc_Pump(Object ,Args(0),Args(1))'])
      assert(hover.contents.value.includes(part), hover.contents.value);
    await stop(server);
  },

  async robustness() {
    const server = await initialized(start());
    // Broken JSON and a header without a length, written past the library, between real messages.
    const raw = (text) => server.child.stdin.write(text);
    raw('Content-Length: 9\r\n\r\n{"jsonrp');
    raw('Content-Type: x\r\n\r\n');
    const unknown = server.connection.sendRequest('rulecast/unknown', {});
    await assert.rejects(unknown, (e) => e.code === rpc.ErrorCodes.MethodNotFound);
    assert.strictEqual(server.logged.filter((m) => String(m).includes(String(rpc.ErrorCodes.ParseError))).length, 2,
                       server.logged.join('\n'));
    await assert.rejects(server.connection.sendRequest(rpc.HoverRequest.type,
      { textDocument: { uri: 'file:///nowhere.pxkbx' }, position: { line: 0, character: 0 } }), (e) => e.code < 0);
    await assert.rejects(server.connection.sendRequest(rpc.HoverRequest.type, { textDocument: 7 }),
      (e) => e.code === rpc.ErrorCodes.InvalidParams);
    // A change to a document that was never opened, and a change past the text's end, hurt nothing.
    server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
      { textDocument: { uri: 'file:///other.pxkbx', version: 2 }, contentChanges: [{ text: 'x' }] });
    open(server, faulty);
    server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
      textDocument: { uri, version: 2 },
      contentChanges: [{ range: { start: { line: 900, character: 5 }, end: { line: 999, character: 0 } }, text: '<' }],
    });
    const after = await server.diagnostics((p) => p.version === 2);
    assert.strictEqual(after.diagnostics[0].severity, rpc.DiagnosticSeverity.Error);
    await stop(server);
    // The protocol's exit status: 1 for an exit without shutdown, and for a client that vanishes.
    const rude = await initialized(start());
    rude.connection.sendNotification(rpc.ExitNotification.type);
    assert.strictEqual(await rude.exited, 1);
    const vanishing = await initialized(start());
    open(vanishing, faulty);
    await vanishing.diagnostics();
    vanishing.child.stdin.end();
    assert.strictEqual(await vanishing.exited, 1);
  },
};

// Diagnostics latency after a change (median of many) and the server's memory after the first
// check and after 1,000 changes, each one checked.
cases.speed = async () => {
  const server = await initialized(start());
  const text = fs.readFileSync(process.env.RULE_FILE, 'utf8');
  open(server, text);
  await server.diagnostics((p) => p.version === 1, 60);
  const memory = () => Number(/VmRSS:\s+(\d+)/.exec(fs.readFileSync(`/proc/${server.child.pid}/status`, 'utf8'))[1]) / 1024;
  const lines = text.split('\n');
  const line = lines.findIndex((l) => l.includes('<![CDATA[')) + 1;
  const afterFirst = memory();
  const latencies = [];
  for (let version = 2; version <= 1001; ++version) {
    // A blank typed at the start of a code line, then taken away again.
    const typed = version % 2 === 0;
    const change = typed ? { range: { start: { line, character: 0 }, end: { line, character: 0 } }, text: ' ' }
                         : { range: { start: { line, character: 0 }, end: { line, character: 1 } }, text: '' };
    const sent = process.hrtime.bigint();
    server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
      { textDocument: { uri, version }, contentChanges: [change] });
    await server.diagnostics((p) => p.version === version, 60);
    latencies.push(Number(process.hrtime.bigint() - sent) / 1e6);
    server.published.length = 0;
  }
  latencies.sort((a, b) => a - b);
  const median = latencies[Math.floor(latencies.length / 2)];
  console.log(`latency after a change: median ${median.toFixed(1)} ms, 90th percentile ` +
              `${latencies[Math.floor(latencies.length * 0.9)].toFixed(1)} ms (${latencies.length} changes)`);
  console.log(`memory: ${afterFirst.toFixed(1)} MB after the first check, ${memory().toFixed(1)} MB after ` +
              `1,000 changes (${(memory() / afterFirst).toFixed(2)} x)`);
  await stop(server);
};

cases[caseName]().then(() => process.exit(0), (error) => {
  console.error(error);
  process.exit(1);
});
