// node bench/medir-web.mjs: the web page's figures, on build/web as
// scripts/web.sh leaves it, served locally, in Debian's chromium:
//  - what the page downloads, each file as it is and compressed with gzip -9
//    (as a server that compresses sends it);
//  - a cold load (no cache, a new profile each time) until the first receipt
//    is shown and the form answers: the median and the slowest of
//    RECIBO_REPETICIONES (default 15);
//  - a receipt computed again after each keystroke (the engine and the
//    page's update together), over 200 keystrokes: median and slowest.
import { spawn } from "node:child_process";
import { readdirSync, readFileSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";

const raiz = fileURLToPath(new URL("..", import.meta.url));
const carpeta = join(raiz, "build", "web");
const requerir = createRequire(join(raiz, "tests", "web", "package.json"));
const { default: puppeteer } = await import(requerir.resolve("puppeteer-core"));
const repeticiones = Number(process.env.RECIBO_REPETICIONES ?? 15);

const mediana = (valores) => [...valores].sort((a, b) => a - b)[Math.floor(valores.length / 2)];
const ms = (valor) => `${valor.toFixed(2)} ms`;

const servidor = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", carpeta],
    { stdio: ["ignore", "pipe", "ignore"] });
const puerto = await new Promise((listo) => servidor.stdout.once("data", (d) => listo(String(d).match(/port (\d+)/)[1])));
const direccion = `http://127.0.0.1:${puerto}/`;
const opciones = { executablePath: "/usr/bin/chromium", headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
           "--disable-sync", "--no-first-run"] };

// What the page asks the server for, file by file.
const pedidos = new Set();
let navegador = await puppeteer.launch(opciones);
let pagina = await navegador.newPage();
pagina.on("request", (pedido) => pedidos.add(new URL(pedido.url()).pathname));
await pagina.goto(direccion);
await pagina.waitForSelector("html[data-listo]");
await navegador.close();
let crudo = 0;
let comprimido = 0;
console.log("Lo que baja la página:");
for (const ruta of [...pedidos].sort()) {
    const archivo = join(carpeta, ruta === "/" ? "index.html" : ruta.slice(1));
    const bytes = readFileSync(archivo);
    const gz = gzipSync(bytes, { level: 9 }).length;
    crudo += bytes.length;
    comprimido += gz;
    console.log(`  ${ruta.padEnd(20)} ${String(bytes.length).padStart(8)} B  ${String(gz).padStart(8)} B con gzip`);
}
console.log(`  ${"total".padEnd(20)} ${String(crudo).padStart(8)} B  ${String(comprimido).padStart(8)} B con gzip`);

const cargas = [];
for (let i = 0; i < repeticiones; ++i) {
    navegador = await puppeteer.launch({ ...opciones, userDataDir: undefined });
    pagina = await navegador.newPage();
    await pagina.setCacheEnabled(false);
    await pagina.goto(`${direccion}#tipo=cargo&codcargo=645&antiguedad=4`);
    await pagina.waitForSelector("html[data-listo]");
    cargas.push(await pagina.evaluate(() => performance.getEntriesByName("listo")[0].startTime));
    await navegador.close();
}
console.log(`Carga en frío hasta el primer recibo: mediana ${ms(mediana(cargas))}, la más lenta ${ms(Math.max(...cargas))} (${repeticiones} cargas)`);

navegador = await puppeteer.launch(opciones);
pagina = await navegador.newPage();
await pagina.goto(`${direccion}#tipo=medio&numerohorasmed=12&antiguedad=4&Iosper=1&APORTEJUB=1`);
await pagina.waitForSelector("html[data-listo]");
await pagina.evaluate(() => performance.clearMeasures());
await pagina.click("#docente");
for (let i = 0; i < 100; ++i)
    await pagina.keyboard.type(i % 10 === 9 ? " " : "a");
await pagina.click("#numerohorasmed");
for (let i = 0; i < 100; ++i)
    await pagina.keyboard.press(i % 2 === 0 ? "Backspace" : "Digit3");
const tiempos = await pagina.evaluate(() => performance.getEntriesByName("calculo").map((m) => m.duration));
console.log(`Recibo recalculado por tecla: mediana ${ms(mediana(tiempos))}, el más lento ${ms(Math.max(...tiempos))} (${tiempos.length} teclas)`);
await navegador.close();
servidor.kill();
