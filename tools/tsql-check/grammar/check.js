'use strict';
// Parses every SQL Server text the report can send, as varnholt-tsql-texts
// writes them (one JSON object a line: selection, text), with node-sql-parser's
// T-SQL grammar, and holds each against rules SQL Server applies that the
// grammar lets pass. Fails naming the selection and the position of every
// text that does not pass; first makes sure that broken texts are refused,
// so that the check cannot pass by accepting anything.
//
//   node check.js TEXTS.jsonl

const fs = require('fs');
const path = require('path');
const { Parser } = require('node-sql-parser/build/transactsql');

const OPTIONS = { database: 'transactsql' };
const parser = new Parser();

// Constructs SQL Server accepts that this grammar refuses, each handed to
// the grammar in a form it takes, with the reason. Every entry must be met
// by some text, so the list cannot outlive its reason. None so far.
const GRAMMAR_GAPS = [];

// A select and the selects it is joined to by UNION.
function branches(select) {
  const all = [];
  for (let s = select; s; s = s._next) all.push(s);
  return all;
}

function columnName(column) {
  if (column.as) return String(column.as).toLowerCase();
  if (column.expr && column.expr.type === 'column_ref' && column.expr.column !== '*')
    return String(column.expr.column).toLowerCase();
  return null;
}

function isStar(column) {
  return column.expr && column.expr.type === 'column_ref' && column.expr.column === '*';
}

// Rules of SQL Server the grammar does not hold a text to. Each returns a
// reason, or null.
const RULES = [
  // An ORDER BY belongs to the last select of a UNION.
  function orderBeforeUnion(select) {
    for (const s of branches(select))
      if (s._next && s.orderby) return 'ORDER BY before UNION';
    return null;
  },
  // The selects of a UNION give the same number of columns.
  function unionColumns(select) {
    const counts = branches(select).map((s) =>
      s.columns.some(isStar) ? null : s.columns.length);
    if (counts.includes(null)) return null;
    return counts.every((n) => n === counts[0])
      ? null
      : `UNION of selects with ${counts.join(', ')} columns`;
  },
];

// Rules for a select nested in another (a derived table, a subquery).
const NESTED_RULES = [
  function orderWithoutTop(select) {
    return branches(select).some((s) => s.orderby && !s.top)
      ? 'ORDER BY in a derived table or subquery without TOP'
      : null;
  },
];

// Rules for a derived table: its columns are those of its first select,
// and each needs a name of its own.
function derivedTableRule(select, alias) {
  const names = new Set();
  for (const [index, column] of select.columns.entries()) {
    if (isStar(column)) continue;
    const name = columnName(column);
    if (name === null) return `column ${index + 1} of derived table ${alias} has no name`;
    if (names.has(name)) return `column ${name} given twice in derived table ${alias}`;
    names.add(name);
  }
  return null;
}

// Every select of the statement, each with whether it is nested and, for
// a derived table, its alias.
function collectSelects(node, found, nested, alias) {
  if (Array.isArray(node)) {
    for (const item of node) collectSelects(item, found, nested, alias);
    return;
  }
  if (!node || typeof node !== 'object') return;
  if (node.type === 'select' && Array.isArray(node.columns)) {
    found.push({ select: node, nested, alias });
    for (const s of branches(node))
      for (const [key, value] of Object.entries(s))
        if (key !== '_next') collectSelects(value, found, true, null);
    return;
  }
  if (node.expr && node.expr.ast && node.as !== undefined) {
    collectSelects(node.expr.ast, found, true, node.as || '(no alias)');
    return;
  }
  for (const value of Object.values(node)) collectSelects(value, found, nested, null);
}

// Why SQL Server would refuse the text, with the position where known;
// null when it passes.
function refusal(text) {
  let ast;
  try {
    ast = parser.astify(text, OPTIONS);
  } catch (error) {
    const start = error.location && error.location.start;
    if (!start) return { position: null, reason: String(error.message || error) };
    const found = error.found === null || error.found === undefined
      ? 'the text ends' : `${JSON.stringify(error.found)} is not expected`;
    return { position: start.offset, reason: `${found} (line ${start.line}, column ${start.column})` };
  }
  if (Array.isArray(ast)) {
    if (ast.length !== 1) return { position: null, reason: `${ast.length} statements, not one` };
    ast = ast[0];
  }
  if (!ast || ast.type !== 'select')
    return { position: null, reason: `a ${ast && ast.type} statement, not a select` };
  const selects = [];
  collectSelects(ast, selects, false, null);
  for (const { select, nested, alias } of selects) {
    const rules = nested ? RULES.concat(NESTED_RULES) : RULES;
    for (const rule of rules) {
      const reason = rule(select);
      if (reason) return { position: null, reason };
    }
    if (alias !== null) {
      const reason = derivedTableRule(select, alias);
      if (reason) return { position: null, reason };
    }
  }
  return null;
}

// The text the grammar is given: the known gaps passed over.
function forGrammar(text, used) {
  let result = text;
  for (const gap of GRAMMAR_GAPS) {
    const next = result.replace(gap.pattern, gap.replacement);
    if (next !== result) used.add(gap.construct);
    result = next;
  }
  return result;
}

function around(text, position) {
  if (position === null) return '';
  const from = Math.max(0, position - 60);
  return `\n    near: ...${text.slice(from, position)}<<HERE>>${text.slice(position, position + 60)}...`;
}

function readTexts(file) {
  const lines = fs.readFileSync(file, 'utf8').split('\n').filter((line) => line.trim() !== '');
  return lines.map((line, index) => {
    const entry = JSON.parse(line);
    if (typeof entry.selection !== 'string' || typeof entry.text !== 'string')
      throw new Error(`${file}:${index + 1}: no selection or text`);
    return entry;
  });
}

// Texts SQL Server refuses, each of a kind the check must catch: the
// grammar's and the rules' own, and a real text of the report broken.
function brokenTexts(texts) {
  const summary = texts.find((t) => t.selection.startsWith('summary query:'));
  const detail = texts.find((t) => t.selection.startsWith('detail query:'));
  if (!summary || !detail) throw new Error('no summary or detail query among the texts');
  const lastParen = summary.text.lastIndexOf(')');
  return [
    ['a union whose second select has no column', 'select 1 as a union all select from t'],
    ['a comma before FROM', 'select a, from t'],
    ['two statements', 'select 1 as a; select 2 as b'],
    ['not a select', "update pubdept set ename='x'"],
    ['ORDER BY before UNION', 'select a from t order by a union all select b from u'],
    ['a union of one and two columns', 'select a from t union all select a, b from u'],
    ['ORDER BY in a derived table', 'select * from (select a from t order by a) d'],
    ['ORDER BY in a subquery', 'select a from t where a in (select b from u order by b)'],
    ['an unnamed column of a derived table', 'select * from (select count(*) from t) d'],
    ['a column named twice in a derived table', 'select * from (select a, b as a from t) d'],
    ['the summary query without a closing parenthesis',
      summary.text.slice(0, lastParen) + summary.text.slice(lastParen + 1)],
    ['the detail query cut in half', detail.text.slice(0, Math.floor(detail.text.length / 2))],
    ['the detail query with a union all at its end', `${detail.text} union all `],
  ];
}

// Texts SQL Server takes that come close to what the rules refuse: each
// must pass, so that a rule cannot refuse more than SQL Server does.
const SOUND_TEXTS = [
  ['ORDER BY at the end of a UNION', 'select a from t union all select b from u order by a'],
  ['ORDER BY in a derived table with TOP', 'select * from (select top 3 a from t order by a) d'],
  ['a UNION of selects of one width', "select a, 1 as b from t union all select c, '' from u"],
  ['the later selects of a derived table unnamed', 'select * from (select 1 as a union all select 2) d'],
  ['a derived table of a star and named columns', 'select * from (select t.*, 1 as one from t) d'],
];

function main() {
  const file = process.argv[2];
  if (!file) {
    console.error(`usage: node ${path.basename(process.argv[1])} TEXTS.jsonl`);
    return 2;
  }
  const texts = readTexts(file);
  if (texts.length === 0) {
    console.error(`T-SQL check: ${file} holds no text`);
    return 1;
  }
  let failed = 0;
  for (const [what, text] of brokenTexts(texts)) {
    if (refusal(text) === null) {
      console.error(`T-SQL check: a broken text passed: ${what}`);
      ++failed;
    }
  }
  for (const [what, text] of SOUND_TEXTS) {
    const found = refusal(text);
    if (found !== null) {
      console.error(`T-SQL check: a sound text was refused: ${what}: ${found.reason}`);
      ++failed;
    }
  }
  const used = new Set();
  for (const { selection, text } of texts) {
    const given = forGrammar(text, used);
    const found = refusal(given);
    if (found === null) continue;
    ++failed;
    const where = found.position === null ? '' : ` at offset ${found.position}`;
    console.error(`T-SQL check: ${selection}${where}: ${found.reason}${around(given, found.position)}`);
  }
  for (const gap of GRAMMAR_GAPS) {
    if (!used.has(gap.construct)) {
      console.error(`T-SQL check: no text needs the grammar gap "${gap.construct}" any more`);
      ++failed;
    }
  }
  if (failed > 0) {
    console.error(`T-SQL check: ${failed} failure(s) among ${texts.length} SQL Server texts`);
    return 1;
  }
  console.log(`T-SQL check: ${texts.length} SQL Server texts parsed, ` +
    `${brokenTexts(texts).length} broken texts refused, ${SOUND_TEXTS.length} sound ones taken`);
  return 0;
}

process.exitCode = main();
