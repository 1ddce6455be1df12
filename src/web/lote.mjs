// node lote.mjs ARCHIVO.csv: the teachers' table computed by the
// WebAssembly engine, written as `recibo-lote --locale C ARCHIVO.csv`
// writes it (the same JSON lines, the same message and exit status).
import { readFileSync, writeSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname } from "node:path";
import { fileURLToPath } from "node:url";
import cargarRecibo from "./recibo.mjs";

// Emscripten 3.1.6's ES module still looks for CommonJS's `require` and
// `__dirname` under node, and would fetch its .wasm from a file: URL, which
// node's fetch cannot: both given here.
globalThis.require = createRequire(import.meta.url);
globalThis.__dirname = dirname(fileURLToPath(import.meta.url));

function fail(message) {
    process.stderr.write(`recibo-lote: ${message}\n`);
    process.exit(2);
}

const args = process.argv.slice(2);
if (args.length !== 1)
    fail("falta el archivo de la tabla: node lote.mjs ARCHIVO.csv");
let table;
try {
    table = readFileSync(args[0]);
} catch (error) {
    fail(`no se pudo leer «${args[0]}» (${error.code ?? error.message})`);
}

const recibo = await cargarRecibo({ wasmBinary: readFileSync(new URL("recibo.wasm", import.meta.url)) });
const result = recibo.calcularTabla(table, false, false);
// Written whole and at once, even to a pipe.
for (let at = 0; at < result.lineas.length;)
    at += writeSync(1, result.lineas, at);
if (result.problema.length > 0)
    process.stderr.write(Buffer.concat([Buffer.from("recibo-lote: "), result.problema, Buffer.from("\n")]));
process.exitCode = result.estado;
