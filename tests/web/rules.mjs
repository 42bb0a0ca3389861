// The game as its rules say, kept apart from the game's own code, for the browser tests'
// scripted games: a move adds a piece to an empty cell or one of the mover's; while a cell
// holds more than four, the first such cell row by row keeps one and gives one to each
// neighbour, which becomes the mover's; after the first round a player with no pieces has
// lost. Cells are numbered 1..56 row by row; a board is the list [owner, count, ...].
export class Rules {
  constructor() {
    this.board = new Array(112).fill(0);
    this.player = 1;
    this.round = 1;
  }
  copy() {
    return Object.assign(new Rules(), { board: [...this.board], player: this.player, round: this.round });
  }
  owner(n) { return this.board[2 * n - 2]; }
  count(n) { return this.board[2 * n - 1]; }
  legal() {
    const out = [];
    for (let n = 1; n <= 56; ++n) if (this.owner(n) === 0 || this.owner(n) === this.player) out.push(n);
    return out;
  }
  play(n) {
    const mover = this.player, b = this.board;
    b[2 * n - 2] = mover;
    b[2 * n - 1] += 1;
    for (;;) {
      let over = 0;
      for (let m = 1; m <= 56 && !over; ++m) if (b[2 * m - 1] > 4) over = m;
      if (!over) break;
      b[2 * over - 1] = 1;
      const column = (over - 1) % 7 + 1, row = Math.floor((over - 1) / 7) + 1;
      for (const [c, r] of [[column - 1, row], [column + 1, row], [column, row - 1], [column, row + 1]]) {
        if (c < 1 || c > 7 || r < 1 || r > 8) continue;
        const near = 7 * (r - 1) + c;
        b[2 * near - 2] = mover;
        b[2 * near - 1] += 1;
      }
    }
    this.player = 3 - mover;
    if (this.player === 1) this.round += 1;
    return this;
  }
  after(n) { return this.copy().play(n); }
  pieces(player) {
    let sum = 0;
    for (let n = 1; n <= 56; ++n) if (this.owner(n) === player) sum += this.count(n);
    return sum;
  }
  loser() {
    if (this.round <= 1) return 0;
    return this.pieces(1) === 0 ? 1 : this.pieces(2) === 0 ? 2 : 0;
  }
  // The move that leaves the mover furthest ahead, piling onto its fullest cell.
  attack(random) {
    const me = this.player;
    let best = null, bestWorth = null;
    for (const n of this.legal()) {
      const then = this.after(n);
      const worth = [then.pieces(me) - then.pieces(3 - me), this.owner(n) === me ? this.count(n) : -1, random()];
      if (!best || worth[0] > bestWorth[0] || (worth[0] === bestWorth[0] &&
          (worth[1] > bestWorth[1] || (worth[1] === bestWorth[1] && worth[2] > bestWorth[2])))) {
        best = n;
        bestWorth = worth;
      }
    }
    return best;
  }
  // Piles onto its own fullest cell short of bursting, else the first free cell: a player
  // the other soon takes.
  huddle() {
    let best = 0;
    for (let n = 1; n <= 56; ++n)
      if (this.owner(n) === this.player && this.count(n) < 4 && (!best || this.count(n) > this.count(best))) best = n;
    return best || this.legal()[0];
  }
}

// A seeded source of numbers in [0, 1): the same seed, the same game.
export function seeded(seed) {
  let s = seed >>> 0 || 1;
  return () => {
    s ^= s << 13;
    s >>>= 0;
    s ^= s >>> 17;
    s ^= s << 5;
    s >>>= 0;
    return s / 4294967296;
  };
}
