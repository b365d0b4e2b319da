// The system functions the project's WebAssembly modules import (wasi_snapshot_preview1),
// supplied by their JavaScript host itself, so neither the page, nor Node, nor a web worker
// needs a WASI runtime. The modules reach the writes only when the C++ library reports a fatal
// error, and the clock only to judge ended windows at the present time; there are no files.

const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_INVAL = 28;
const ERRNO_SPIPE = 70;
const CLOCK_REALTIME = 0;
const CLOCK_MONOTONIC = 1;

// The imports of a module whose memory `memoryOf()` gives once it is instantiated. What it
// writes to standard output or error goes to `write(text)`, gathered per call; a stray byte in
// it may show as U+FFFD, since it is only reported.
export function wasiImports(memoryOf, write) {
  const decoder = new TextDecoder();
  return {
    fd_write(fd, iovs, count, written) {
      if (fd !== 1 && fd !== 2) return ERRNO_BADF;
      const memory = memoryOf();
      const view = new DataView(memory.buffer);
      let total = 0;
      let text = "";
      for (let i = 0; i < count; i++) {
        const base = view.getUint32(iovs + 8 * i, true);
        const length = view.getUint32(iovs + 8 * i + 4, true);
        text += decoder.decode(new Uint8Array(memory.buffer, base, length));
        total += length;
      }
      write(text);
      view.setUint32(written, total, true);
      return ERRNO_SUCCESS;
    },
    fd_seek() {
      return ERRNO_SPIPE;
    },
    fd_close() {
      return ERRNO_SUCCESS;
    },
    clock_time_get(id, _precision, out) {
      let nanoseconds;
      if (id === CLOCK_REALTIME) nanoseconds = BigInt(Date.now()) * 1000000n;
      else if (id === CLOCK_MONOTONIC) nanoseconds = BigInt(Math.round(performance.now() * 1e6));
      else return ERRNO_INVAL;
      new DataView(memoryOf().buffer).setBigUint64(out, nanoseconds, true);
      return ERRNO_SUCCESS;
    },
  };
}
