// The messages' windows on one time axis, in the author's zone: a bar from start_at to end_at
// for each message that reads, "now" marked, windows that overlap in lanes of their own, so an
// author sees at a glance which messages the app may show together and which have ended. The
// times are the checker's summaries; this file only lays them out.
const SVG = "http://www.w3.org/2000/svg";
const $ = (id) => document.getElementById(id);

// The drawing's own units: the browser scales it to the width of its box.
const WIDTH = 600, LANE = 22, BAR = 16, AXIS = 40, SIDE = 8;
// Seconds further from 1970 than this are a slip of the author's (milliseconds, a stray digit),
// not a window anyone means: such windows are listed, not drawn, so they do not squash the rest.
const ABSURD = 100000000000n;

const dayFormat = new Intl.DateTimeFormat("ru-RU", { day: "numeric", month: "short" });
const yearFormat = new Intl.DateTimeFormat("ru-RU", { day: "numeric", month: "short", year: "numeric" });
const timeFormat = new Intl.DateTimeFormat("ru-RU", {
  day: "numeric", month: "long", year: "numeric", hour: "2-digit", minute: "2-digit",
});

const element = (name, attributes = {}) => {
  const made = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) made.setAttribute(key, String(value));
  return made;
};

// Lanes so that no two windows that overlap share one: each window, earliest first, goes into
// the first lane whose last window has ended by its start.
export function lanesOf(windows) {
  const ends = [];
  return [...windows].sort((a, b) => a.start - b.start || a.end - b.end).map((w) => {
    let lane = ends.findIndex((end) => end <= w.start);
    if (lane < 0) lane = ends.length;
    ends[lane] = Math.max(w.end, w.start);
    return { ...w, lane };
  });
}

// `messages`: the checker's summaries; `go(index)` moves the editor to a message; `now` the
// page's present time in Unix seconds (a BigInt).
export function showTimeline(messages, go, now) {
  const figure = $("timeline");
  const words = $("timeline-words");
  const absurd = $("timeline-absurd");
  figure.replaceChildren();
  words.replaceChildren();
  absurd.replaceChildren();
  const windows = [];
  for (const m of messages) {
    const start = BigInt(m.start_at), end = BigInt(m.end_at);
    const out = (s) => s > ABSURD || s < -ABSURD;
    if (out(start) || out(end)) {
      const item = document.createElement("li");
      item.textContent = `${m.id}: start_at ${m.start_at}, end_at ${m.end_at} — не на оси: столько секунд не бывает `
        + "у настоящего срока (миллисекунды вместо секунд?)";
      absurd.append(item);
      continue;
    }
    windows.push({ index: m.index, id: m.id, title: m.title, priority: m.priority, start: Number(start), end: Number(end) });
  }
  $("timeline-absurd-heading").hidden = absurd.children.length === 0;
  $("timeline-empty").hidden = windows.length > 0;
  figure.hidden = windows.length === 0;
  if (windows.length === 0) return;

  const present = Number(now);
  let low = Math.min(present, ...windows.map((w) => Math.min(w.start, w.end)));
  let high = Math.max(present, ...windows.map((w) => Math.max(w.start, w.end)));
  if (high === low) high = low + 86400;
  const margin = (high - low) * 0.02;
  low -= margin;
  high += margin;
  const x = (t) => SIDE + ((t - low) / (high - low)) * (WIDTH - 2 * SIDE);
  const placed = lanesOf(windows);
  const lanes = Math.max(...placed.map((w) => w.lane)) + 1;
  const height = AXIS + lanes * LANE + 4;
  const svg = element("svg", {
    viewBox: `0 0 ${WIDTH} ${height}`, width: "100%", role: "group", "aria-labelledby": "timeline-heading",
    "aria-describedby": "timeline-words", class: "timeline-svg",
  });

  // The axis: a few dates spread evenly (the year at both ends), few enough to stay apart on a
  // phone; the present as a line through every lane.
  const ticks = 3;
  for (let i = 0; i <= ticks; i++) {
    const t = low + ((high - low) * i) / ticks;
    const at = x(t);
    svg.append(element("line", { x1: at, x2: at, y1: 17, y2: height, class: "tick" }));
    const label = element("text", {
      x: at, y: 13, class: "tick-label", "text-anchor": i === 0 ? "start" : i === ticks ? "end" : "middle",
    });
    label.textContent = (i === 0 || i === ticks ? yearFormat : dayFormat).format(new Date(t * 1000));
    svg.append(label);
  }
  const nowAt = x(present);
  svg.append(element("line", { x1: nowAt, x2: nowAt, y1: 20, y2: height, class: "now" }));
  const nowLabel = element("text", {
    x: nowAt, y: 32, class: "now-label", "text-anchor": nowAt < 40 ? "start" : nowAt > WIDTH - 40 ? "end" : "middle",
  });
  nowLabel.textContent = "сейчас";
  svg.append(nowLabel);

  for (const w of placed) {
    const from = x(Math.min(w.start, w.end)), to = x(Math.max(w.start, w.end));
    const ended = w.end <= present;
    const said = `${w.id} «${w.title}»: с ${timeFormat.format(new Date(w.start * 1000))} до `
      + `${timeFormat.format(new Date(w.end * 1000))}, приоритет ${w.priority}${ended ? ", показ закончился" : ""}`;
    const bar = element("rect", {
      x: from, y: AXIS + w.lane * LANE, width: Math.max(to - from, 3), height: BAR, rx: 3,
      class: ended ? "bar ended" : `bar priority-${w.priority}`, tabindex: 0, role: "button", "aria-label": said,
      "data-index": w.index,
    });
    const title = element("title");
    title.textContent = said;
    bar.append(title);
    bar.addEventListener("click", () => go(w.index));
    bar.addEventListener("keydown", (event) => {
      if (event.key !== "Enter" && event.key !== " ") return;
      event.preventDefault();
      go(w.index);
    });
    svg.append(bar);
    const item = document.createElement("li");
    item.textContent = said;
    words.append(item);
  }
  figure.append(svg);
}
