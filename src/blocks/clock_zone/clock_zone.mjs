// The zone of the clock of a JavaScript host (a browser, Node), as the lint core's ZoneTable takes
// it (lint/zone_table.h): shared by the page's checker and the editors' server in WebAssembly.

// The author's time zone as this JavaScript clock has it, for a date written without one: its
// name, and every offset from UTC with the instant it takes effect, from 2000 to 2070 (looked
// for every 28 days, then found to the second; no zone changes its clocks twice in 28 days),
// the first and the last holding before and after. The module's C library has no zone data.
export function clockZone() {
  const offsetAt = (ms) => -new Date(ms).getTimezoneOffset() * 60; // seconds east of UTC
  const step = 28 * 86400000;
  const start = Date.UTC(2000, 0, 1), end = Date.UTC(2070, 0, 1);
  let offset = offsetAt(start);
  const spans = [BigInt(start / 1000), BigInt(offset)];
  for (let t = start + step; t <= end; t += step) {
    const next = offsetAt(t);
    if (next === offset) continue;
    let before = t - step, after = t;
    while (after - before > 1000) {
      const middle = before + Math.floor((after - before) / 2000) * 1000;
      if (offsetAt(middle) === offset) before = middle;
      else after = middle;
    }
    spans.push(BigInt(after / 1000), BigInt(next));
    offset = next;
  }
  if (spans.length === 2 && offset === 0) return { name: "UTC", spans: new BigInt64Array(0) };
  const named = Intl.DateTimeFormat().resolvedOptions().timeZone;
  const now = -new Date().getTimezoneOffset();
  const hours = String(Math.floor(Math.abs(now) / 60)).padStart(2, "0"), minutes = String(Math.abs(now) % 60).padStart(2, "0");
  const name = named && named !== "UTC" ? named : `UTC${now < 0 ? "-" : "+"}${hours}:${minutes}`;
  return { name, spans: BigInt64Array.from(spans) };
}
