'use strict';
// Draws a benchmark scene written by `zelbench --json` with Skia (through @napi-rs/canvas) and
// times it the way zelbench times the engine: single-threaded, every frame cleared to white,
// drawn and read back so that the raster work is in the time. skia_raster_us is the read-back
// alone: the rasterisation of the calls the canvas recorded, without the script's calls.
//
//   node skia.js SCENE.json FRAMES [--png OUT.png]
//       prints: scene=NAME skia_us=MEDIAN skia_raster_us=MEDIAN
//   node skia.js --check DIR                          one frame of every DIR/*.json must draw
//
// What a canvas can't say exactly is approximated:
// - repeat and reflect: the stops are laid out period after period over a longer axis that
//   covers the shape (at most kMaxPeriods periods); stops outside 0..1 under pad likewise;
// - an elliptical radial gradient is a circular one under a squashing transform, set after
//   the path is built so that it moves only the paint; a stroke under it has its width
//   squashed too, and text with such a paint gets the unsquashed circle.
const fs = require('fs');
const path = require('path');
const { createCanvas, loadImage, GlobalFonts } = require('@napi-rs/canvas');

const kFont = '/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf';
const kPeriodMs = 10000;  // one sweep of a moving scene: 37 x 23 pixels
const kWarmup = 10;
const kMaxPeriods = 256;

const Css = (r, g, b, a) =>
    `rgba(${Math.round(r * 255)},${Math.round(g * 255)},${Math.round(b * 255)},${a})`;

// The colour of the ramp at t, padded beyond the first and last stop.
function ColourAt(stops, t) {
    if (t <= stops[0][0]) return stops[0].slice(1);
    for (let i = 1; i < stops.length; ++i) {
        const [o1, ...c1] = stops[i];
        if (t <= o1) {
            const [o0, ...c0] = stops[i - 1];
            const u = o1 > o0 ? (t - o0) / (o1 - o0) : 1;
            return c0.map((v, k) => v + (c1[k] - v) * u);
        }
    }
    return stops[stops.length - 1].slice(1);
}

// The stops between a and b, with the ramp's colours at a and b as end stops.
function Clip(stops, a, b) {
    const inside = stops.filter(s => s[0] > a && s[0] < b);
    return [[a, ...ColourAt(stops, a)], ...inside, [b, ...ColourAt(stops, b)]];
}

// Stops over the gradient parameter range [lo, hi] that reproduce the extend mode there,
// for a shape whose parameter runs over [tmin, tmax].
function Ramp(p, tmin, tmax, radial) {
    const stops = p.stops.slice().sort((x, y) => x[0] - y[0]);
    if (p.extend === 0) {
        const lo = radial ? 0 : Math.min(0, stops[0][0]);
        const hi = Math.max(1, stops[stops.length - 1][0]);
        return { lo, hi, stops: Clip(stops, lo, hi) };
    }
    const period = Clip(stops, 0, 1);
    const lo = radial ? 0 : Math.floor(tmin);
    let hi = Math.max(lo + 1, Math.ceil(tmax));
    hi = Math.min(hi, lo + kMaxPeriods);
    const out = [];
    for (let k = lo; k < hi; ++k) {
        const mirrored = p.extend === 2 && (k % 2 !== 0);
        const run = mirrored ? period.map(([o, ...c]) => [1 - o, ...c]).reverse() : period;
        for (const [o, ...c] of run) out.push([k + o, ...c]);
    }
    return { lo, hi, stops: out };
}

function Gradient(ctx, p, box) {
    const corners = [[box[0], box[1]], [box[2], box[1]], [box[0], box[3]], [box[2], box[3]]];
    let g, matrix = null;
    if (p.kind === 1) {
        const dx = p.x1 - p.x0, dy = p.y1 - p.y0, len2 = dx * dx + dy * dy || 1;
        const ts = corners.map(([x, y]) => ((x - p.x0) * dx + (y - p.y0) * dy) / len2);
        const r = Ramp(p, Math.min(...ts), Math.max(...ts), false);
        g = ctx.createLinearGradient(p.x0 + r.lo * dx, p.y0 + r.lo * dy,
                                     p.x0 + r.hi * dx, p.y0 + r.hi * dy);
        AddStops(g, r);
    } else {
        // In the gradient's space the ellipse is a circle of radius rx about the origin.
        const rx = p.x1, k = p.y1 / p.x1;
        matrix = { a: 1, b: 0, c: 0, d: k, e: p.x0, f: p.y0 };
        const fx = p.fx, fy = p.fy / k, fLen = Math.hypot(fx, fy);
        // The parameter grows no faster than distance from the focus over (rx - |focus|).
        const far = Math.max(...corners.map(([x, y]) => Math.hypot(x - p.x0 - fx, (y - p.y0) / k - fy)));
        const r = Ramp(p, 0, rx > fLen ? far / (rx - fLen) : kMaxPeriods, true);
        g = ctx.createRadialGradient(fx * (1 - r.lo), fy * (1 - r.lo), rx * r.lo,
                                     fx * (1 - r.hi), fy * (1 - r.hi), rx * r.hi);
        AddStops(g, r);
    }
    return { style: g, matrix };
}

function AddStops(g, r) {
    for (const [o, cr, cg, cb, ca] of r.stops)
        g.addColorStop(Math.min(1, Math.max(0, (o - r.lo) / (r.hi - r.lo))), Css(cr, cg, cb, ca));
}

function Paint(ctx, p, box) {
    if (p.kind === 0) return { style: Css(p.r, p.g, p.b, p.a), matrix: null };
    // A gradient without stops paints nothing.
    return p.stops.length ? Gradient(ctx, p, box) : { style: 'rgba(0,0,0,0)', matrix: null };
}

// Adds the shape's outline to the current path, in the current user space.
function AddPath(ctx, s) {
    if (s.kind === 0) {
        ctx.ellipse(s.x, s.y, s.w, s.h, 0, 0, 2 * Math.PI);
    } else if (s.kind === 1) {
        ctx.rect(s.x, s.y, s.w, s.h);
    } else {
        const q = s.points;
        ctx.moveTo(q[0], q[1]);
        for (let i = 2; i + 5 < q.length; i += 6)
            ctx.bezierCurveTo(q[i], q[i + 1], q[i + 2], q[i + 3], q[i + 4], q[i + 5]);
        ctx.closePath();
    }
}

// The box a shape can paint, for laying out repeated gradient stops.
function Box(s) {
    let b;
    if (s.kind === 0) b = [s.x - s.w, s.y - s.h, s.x + s.w, s.y + s.h];
    else if (s.kind === 2) {
        const xs = s.points.filter((_, i) => i % 2 === 0), ys = s.points.filter((_, i) => i % 2);
        b = [Math.min(...xs), Math.min(...ys), Math.max(...xs), Math.max(...ys)];
    } else b = [s.x, s.y, s.x + s.w, s.y + s.h];
    const grow = s.stroked ? s.strokeWidth * 5 : 0;  // half the width times the miter limit
    return [b[0] - grow, b[1] - grow, b[2] + grow, b[3] + grow];
}

// Canvas state setters parse their argument every time, so a value already set is not set
// again; DrawFrame forgets what was set when it paints the background.
const state = { fill: null, stroke: null, font: null, width: null };
function Set(ctx, key, prop, value) {
    if (state[key] !== value) ctx[prop] = state[key] = value;
}

// Turns each shape into a closure that draws it; what does not change from frame to frame
// (paints, fonts, the image) is made once, as the engine loads its document once. Paths are
// built anew each time: with this binding that is faster than filling a prepared Path2D.
function Prepare(ctx, scene, image) {
    return scene.shapes.map(s => {
        if (s.kind === 3)
            return () => {
                ctx.globalAlpha = s.opacity;
                ctx.drawImage(image, s.x, s.y, s.w, s.h);
                ctx.globalAlpha = 1;
            };
        if (s.kind > 4) throw new Error(`shape kind ${s.kind} is not known`);
        const box = Box(s);
        const fill = Paint(ctx, s.fill, box);
        const stroke = s.stroked ? Paint(ctx, s.stroke, box) : null;
        if (s.kind === 4) {
            const font = `${s.size}px "Liberation Sans"`, cx = s.x + s.w / 2, cy = s.y + s.h / 2;
            // Glyphs can't be squashed with the paint, so a radial paint is only moved there.
            const Draw = (paint, op) => {
                const m = paint.matrix;
                if (m) {
                    ctx.save();
                    ctx.translate(m.e, m.f);
                }
                if (op === 'fill') {
                    Set(ctx, 'fill', 'fillStyle', paint.style);
                    ctx.fillText(s.text, cx - (m ? m.e : 0), cy - (m ? m.f : 0));
                } else {
                    Set(ctx, 'width', 'lineWidth', s.strokeWidth);
                    Set(ctx, 'stroke', 'strokeStyle', paint.style);
                    ctx.strokeText(s.text, cx - (m ? m.e : 0), cy - (m ? m.f : 0));
                }
                if (m) {
                    ctx.restore();
                    state.fill = state.stroke = state.width = null;
                }
            };
            return () => {
                Set(ctx, 'font', 'font', font);
                Draw(fill, 'fill');
                if (stroke) Draw(stroke, 'stroke');
            };
        }
        // The path keeps the user space it was built in; a radial paint's transform, set
        // after it, moves only the paint.
        const Draw = (paint, op) => {
            if (paint.matrix) {
                const m = paint.matrix;
                ctx.save();
                ctx.transform(m.a, m.b, m.c, m.d, m.e, m.f);
            }
            if (op === 'fill') {
                Set(ctx, 'fill', 'fillStyle', paint.style);
                ctx.fill();
            } else {
                Set(ctx, 'width', 'lineWidth', s.strokeWidth);
                Set(ctx, 'stroke', 'strokeStyle', paint.style);
                ctx.stroke();
            }
            if (paint.matrix) {
                ctx.restore();
                state.fill = state.stroke = state.width = null;
            }
        };
        return () => {
            ctx.beginPath();
            AddPath(ctx, s);
            Draw(fill, 'fill');
            if (stroke) Draw(stroke, 'stroke');
        };
    });
}

function DrawFrame(ctx, scene, draws, t) {
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = '#ffffff';
    ctx.fillRect(0, 0, scene.width, scene.height);
    state.fill = state.stroke = state.font = state.width = null;
    if (scene.moving) {
        const f = (t % kPeriodMs) / kPeriodMs;
        ctx.translate(37 * f, 23 * f);
    }
    ctx.lineJoin = 'miter';
    ctx.miterLimit = 10;
    ctx.lineCap = 'butt';
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.imageSmoothingEnabled = true;
    ctx.imageSmoothingQuality = 'low';  // bilinear, as the engine and Cairo scale bitmaps
    for (const draw of draws) draw();
}

// The canvas records the script's calls and rasterises them when pixels are needed: reading
// one back makes sure the frame has been rasterised before the clock stops.
function Flush(ctx) {
    ctx.getImageData(0, 0, 1, 1);
}

async function Load(file) {
    const scene = JSON.parse(fs.readFileSync(file, 'utf8'));
    const canvas = createCanvas(scene.width, scene.height);
    const ctx = canvas.getContext('2d');
    const image = scene.shapes.some(s => s.kind === 3) ? await loadImage(scene.bitmap) : null;
    return { scene, canvas, ctx, draws: Prepare(ctx, scene, image) };
}

const FrameTime = k => Math.floor(k * 1000 / 60);

async function Time(file, frames, png) {
    const { scene, canvas, ctx, draws } = await Load(file);
    for (let k = 0; k < kWarmup; ++k) {
        DrawFrame(ctx, scene, draws, FrameTime(k));
        Flush(ctx);
    }
    const whole = [], raster = [];
    for (let k = 0; k < frames; ++k) {
        const start = process.hrtime.bigint();
        DrawFrame(ctx, scene, draws, FrameTime(k));
        const drawn = process.hrtime.bigint();
        Flush(ctx);
        const end = process.hrtime.bigint();
        whole.push(Number(end - start) / 1000);
        raster.push(Number(end - drawn) / 1000);
    }
    const Median = v => Math.round(v.sort((a, b) => a - b)[Math.floor(v.length / 2)]);
    console.log(`scene=${scene.name} skia_us=${Median(whole)} skia_raster_us=${Median(raster)}`);
    if (png) fs.writeFileSync(png, canvas.toBuffer('image/png'));
}

// One frame of every scene in dir, a second into the sweep so that moving scenes move; a
// scene fails if drawing throws or leaves every pixel white.
async function Check(dir) {
    const files = fs.readdirSync(dir).filter(f => f.endsWith('.json')).sort();
    let passed = 0, failed = 0;
    for (const f of files) {
        try {
            const { scene, ctx, draws } = await Load(path.join(dir, f));
            DrawFrame(ctx, scene, draws, FrameTime(60));
            Flush(ctx);
            const px = ctx.getImageData(0, 0, scene.width, scene.height).data;
            if (px.every(v => v === 255)) throw new Error('the frame is all white');
            ++passed;
            console.log(`ok   ${scene.name}`);
        } catch (e) {
            ++failed;
            console.log(`FAIL ${f}: ${e.message}`);
        }
    }
    console.log(`${passed} passed, ${failed} failed`);
    return failed === 0 && passed > 0;
}

async function Main(args) {
    if (!fs.existsSync(kFont) || !GlobalFonts.registerFromPath(kFont, 'Liberation Sans')) {
        console.error(`skia.js: no font at ${kFont} (apt-get install fonts-liberation)`);
        return 2;
    }
    if (args[0] === '--check' && args.length === 2) return (await Check(args[1])) ? 0 : 1;
    const frames = Number(args[1]);
    const png = args[2] === '--png' ? args[3] : null;
    if (!(args.length === 2 || (args.length === 4 && png)) || !(frames >= 1)) {
        console.error('usage: node skia.js SCENE.json FRAMES [--png OUT.png] | --check DIR');
        return 2;
    }
    await Time(args[0], Math.floor(frames), png);
    return 0;
}

Main(process.argv.slice(2)).then(code => { process.exitCode = code; },
                                 e => { console.error(e.stack || e); process.exitCode = 1; });
