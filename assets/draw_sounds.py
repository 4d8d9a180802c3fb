#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes Veltrano's sound effects as short WAV files.

Usage: python3 assets/draw_sounds.py

Writes assets/sounds/<name>.wav beside this script. The game plays the .wav
files; this script only regenerates them, and gives the same bytes on every
run (its noise comes from a generator with a fixed seed).

Every sound is 16-bit PCM, mono, 22050 samples a second, shorter than a
second, faded in and out so that it starts and stops without a click, and
scaled to one loudness well below full scale: the sounds accompany the
keys, they must never startle.
"""

import math
import os
import random
import struct
import wave

RATE = 22050
# The loudest sample of every sound, as a share of full scale (about -10 dB).
PEAK = 0.32
# Seconds of fade in, short enough to keep the attack, and of fade out.
FADE_IN = 0.004
FADE_OUT = 0.03

HERE = os.path.dirname(os.path.abspath(__file__))


# ----------------------------------------------------------------------------
# Building blocks: each returns a list of floats, one per sample.


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def tone(freq, seconds, partials=((1, 1.0),), attack=0.005, decay=6.0, vibrato=0.0):
    """A note with the given overtones (multiple, strength) that rises in
    `attack` seconds and then dies away exponentially at `decay` per second."""
    out = []
    n = int(seconds * RATE)
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / attack) * math.exp(-decay * t)
        wobble = 1.0 + vibrato * math.sin(2 * math.pi * 6 * t)
        s = 0.0
        for multiple, strength in partials:
            s += strength * math.sin(2 * math.pi * freq * multiple * wobble * t)
        out.append(env * s)
    return out


def sweep(start, end, seconds, decay=3.0, partials=((1, 1.0),)):
    """A note gliding from one pitch to another, geometrically."""
    out = []
    n = int(seconds * RATE)
    phase = 0.0
    for i in range(n):
        t = i / RATE
        freq = start * (end / start) ** (i / max(1, n - 1))
        phase += 2 * math.pi * freq / RATE
        env = min(1.0, t / 0.01) * math.exp(-decay * t)
        out.append(env * sum(strength * math.sin(multiple * phase) for multiple, strength in partials))
    return out


def click(rng, seconds, brightness, decay):
    """A short burst of noise, smoothed by a one-pole filter: a knock of wood
    (low brightness) or a snap (high)."""
    out = []
    state = 0.0
    for i in range(int(seconds * RATE)):
        t = i / RATE
        state += brightness * (rng.uniform(-1.0, 1.0) - state)
        out.append(state * math.exp(-decay * t))
    return out


def mix(*parts):
    """Lays (start in seconds, samples) parts over one another."""
    length = max(int(start * RATE) + len(samples) for start, samples in parts)
    out = [0.0] * length
    for start, samples in parts:
        offset = int(start * RATE)
        for i, s in enumerate(samples):
            out[offset + i] += s
    return out


def note(name):
    """The frequency of a note such as 'A4' or 'C#5' in equal temperament."""
    names = {'C': -9, 'D': -7, 'E': -5, 'F': -4, 'G': -2, 'A': 0, 'B': 2}
    semitone = names[name[0]]
    rest = name[1:]
    if rest.startswith('#'):
        semitone += 1
        rest = rest[1:]
    elif rest.startswith('b'):
        semitone -= 1
        rest = rest[1:]
    octave = int(rest)
    return 440.0 * 2 ** ((semitone + 12 * (octave - 4)) / 12)


BELL = ((1, 1.0), (2.0, 0.35), (3.0, 0.12), (4.2, 0.08))
SOFT = ((1, 1.0), (2, 0.25), (3, 0.08))
BRASS = ((1, 1.0), (2, 0.5), (3, 0.33), (4, 0.2), (5, 0.1))


# ----------------------------------------------------------------------------
# The sounds


def banknote(rng):
    # The rustle of paper and two bright coin notes: money, but small money.
    rustle = click(rng, 0.07, 0.6, 40.0)
    return mix((0.0, [0.35 * s for s in rustle]),
               (0.01, tone(note('B5'), 0.12, BELL, decay=22.0)),
               (0.07, tone(note('E6'), 0.18, BELL, decay=16.0)))


def diamond(rng):
    # A sparkle: a quick run of high bell notes over a shimmering chord.
    parts = []
    for k, name in enumerate(('E6', 'G#6', 'B6', 'E7')):
        parts.append((0.045 * k, tone(note(name), 0.28, BELL, decay=11.0)))
    parts.append((0.0, tone(note('E5'), 0.42, SOFT, attack=0.02, decay=7.0, vibrato=0.004)))
    twinkle = [0.15 * s for s in click(rng, 0.3, 0.95, 9.0)]
    parts.append((0.05, twinkle))
    return mix(*parts)


def clock(rng):
    # Tick and tock of a wooden clock: two knocks, the second lower.
    tick = [a + b for a, b in zip(click(rng, 0.05, 0.5, 90.0), tone(2100, 0.05, decay=80.0))]
    tock = [a + b for a, b in zip(click(rng, 0.06, 0.35, 70.0), tone(1400, 0.06, decay=60.0))]
    chime = [0.4 * s for s in tone(note('A5'), 0.22, SOFT, decay=14.0)]
    return mix((0.0, tick), (0.16, tock), (0.16, chime))


def light_bulb(rng):
    # The switch snaps, and the light comes up with a rising hum.
    snap = click(rng, 0.03, 0.9, 120.0)
    hum = sweep(180, 720, 0.32, decay=4.0, partials=((1, 1.0), (2, 0.4), (3, 0.2)))
    return mix((0.0, snap), (0.02, [0.6 * s for s in hum]),
               (0.22, tone(note('A6'), 0.15, BELL, decay=18.0)))


def exit_open(_rng):
    # The way out is free: a rising major arpeggio ending on a held note.
    parts = []
    for k, name in enumerate(('C5', 'E5', 'G5')):
        parts.append((0.08 * k, tone(note(name), 0.2, SOFT, decay=12.0)))
    parts.append((0.24, tone(note('C6'), 0.36, SOFT, attack=0.01, decay=6.0, vibrato=0.003)))
    parts.append((0.0, [0.15 * s for s in sweep(120, 240, 0.5, decay=5.0)]))
    return mix(*parts)


def level_done(_rng):
    # A short fanfare: two pickup notes and a full chord.
    parts = [(0.0, tone(note('G4'), 0.14, BRASS, attack=0.01, decay=10.0)),
             (0.12, tone(note('G4'), 0.14, BRASS, attack=0.01, decay=10.0))]
    for name in ('C5', 'E5', 'G5', 'C6'):
        chord_note = tone(note(name), 0.6, BRASS, attack=0.015, decay=4.0, vibrato=0.003)
        parts.append((0.26, [0.4 * s for s in chord_note]))
    return mix(*parts)


def life_lost(_rng):
    # The time ran out: a falling, wobbling slide.
    slide = sweep(note('E5'), note('A3'), 0.65, decay=2.5, partials=((1, 1.0), (2, 0.3), (3, 0.15)))
    wobble = [s * (0.75 + 0.25 * math.sin(2 * math.pi * 9 * i / RATE)) for i, s in enumerate(slide)]
    return mix((0.0, wobble))


def game_over(_rng):
    # Four slow falling notes of a minor scale, the last held low.
    parts = []
    for k, name in enumerate(('E4', 'D4', 'C4')):
        parts.append((0.2 * k, tone(note(name), 0.24, BRASS, attack=0.01, decay=6.0)))
    parts.append((0.6, tone(note('A3'), 0.34, BRASS, attack=0.01, decay=4.5, vibrato=0.004)))
    return mix(*parts)


SOUNDS = {
    'banknote': banknote,
    'diamond': diamond,
    'clock': clock,
    'lightbulb': light_bulb,
    'exitopen': exit_open,
    'leveldone': level_done,
    'lifelost': life_lost,
    'gameover': game_over,
}


# ----------------------------------------------------------------------------
# Writing


def finish(samples):
    """Fades both ends and scales the sound to the common peak."""
    n = len(samples)
    fade_in = int(FADE_IN * RATE)
    for i in range(min(fade_in, n)):
        samples[i] *= i / fade_in
    fade_out = int(FADE_OUT * RATE)
    for i in range(min(fade_out, n)):
        samples[n - 1 - i] *= i / fade_out
    loudest = max(abs(s) for s in samples)
    return [s * PEAK / loudest for s in samples]


def write(path, samples):
    frames = b''.join(struct.pack('<h', round(s * 32767)) for s in samples)
    with wave.open(path, 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    folder = os.path.join(HERE, 'sounds')
    os.makedirs(folder, exist_ok=True)
    for seed, (name, make) in enumerate(SOUNDS.items()):
        samples = finish(make(random.Random(seed + 1)))
        assert len(samples) < RATE, name
        write(os.path.join(folder, name + '.wav'), samples)


if __name__ == '__main__':
    main()
