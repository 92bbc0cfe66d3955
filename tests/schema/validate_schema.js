// Checks the schema beside every format's table with the tableschema
// package: the descriptor is a valid Table Schema, and every cell of the
// table casts to its column's type (the time with its +09:00 offset).
// Usage: node validate_schema.js FENMARQ_CLI
'use strict';
const assert = require('assert');
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
let tableschema;
try {
  tableschema = require('tableschema');
} catch (error) {
  console.error('tableschema is missing: run tools/setup-debian.sh');
  process.exit(1);
}

async function check(cli, dir, file, options) {
  const csv = path.join(dir, `${file}${options.join('')}.csv`);
  execFileSync(cli, ['table', ...options, '-o', csv, file], {cwd: dir});
  const descriptor = JSON.parse(fs.readFileSync(`${csv}.schema.json`, 'utf8'));
  const schema = await tableschema.Schema.load(descriptor, {strict: true});
  assert.ok(schema.valid, `${file}: ${schema.errors}`);
  const table = await tableschema.Table.load(csv, {schema: descriptor});
  const rows = await table.read({keyed: true});
  const header = fs.readFileSync(csv, 'utf8').split('\n', 1)[0].split(',');
  assert.deepStrictEqual(table.headers, header);
  return rows;
}

async function main() {
  const cli = path.resolve(process.argv[2]);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'fenmarq-schema-'));
  try {
    execFileSync(cli, ['samples', dir]);
    let checked = 0;
    for (const file of fs.readdirSync(dir).filter((name) => /^(amd|sfc)_/.test(name))) {
      const rows = await check(cli, dir, file, []);
      const raw = await check(cli, dir, file, ['--raw', '--ascii-names']);
      assert.strictEqual(rows.length, raw.length);
      if ('time' in rows[0]) {
        // Midnight in Japan is 15:00 UTC the day before.
        assert.strictEqual(rows[0].time.toISOString(), '2016-04-11T15:00:00.000Z', file);
      }
      checked += 1;
    }
    assert.strictEqual(checked, 5);
    console.log(`${checked} formats: schema valid, every cell casts`);
  } finally {
    fs.rmSync(dir, {recursive: true, force: true});
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
