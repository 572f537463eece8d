#!/usr/bin/env python3
"""Draws the program's shared image lists as three SVG strips:

  large.svg     21 images of 24 x 24  (tool bar)
  small.svg     25 images of 16 x 16  (menus, actions, tool-button glyphs)
  tasktree.svg  55 images of 16 x 16  (task tree cells, tabs, combo boxes, list editors)

A strip is a row of square cells, image i at x = i * size. Image 0 of every strip is
empty, so a value without a picture shows nothing. The disabled and hot variants are
made from these when the lists are built (a grey silhouette, a lighter copy).

Only the standard library is used:  python3 make_images.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

RED, ORANGE, YELLOW, GREEN, BLUE = "#d23b2e", "#e8891c", "#f2c318", "#3a9d3a", "#2f6fc9"
PURPLE, GREY, DARK, TEAL, BROWN = "#8a4fc2", "#8c8c8c", "#404040", "#1f9a9a", "#8b5a2b"


# Every shape is drawn in a 16 x 16 box; the strip scales it to its cell size.
def circle(c, r=6):
    return f'<circle cx="8" cy="8" r="{r}" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'


def ring(c):
    return f'<circle cx="8" cy="8" r="5.5" fill="none" stroke="{c}" stroke-width="2"/>'


def square(c):
    return f'<rect x="2.5" y="2.5" width="11" height="11" rx="1.5" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'


def arrow_up(c):
    return f'<path d="M8 2 L14 9 H10.5 V14 H5.5 V9 H2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'


def arrow_down(c):
    return f'<path d="M8 14 L14 7 H10.5 V2 H5.5 V7 H2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'


def arrow_right(c):
    return f'<path d="M14 8 L7 2 V5.5 H2 V10.5 H7 V14 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'


def arrow_left(c):
    return f'<path d="M2 8 L9 2 V5.5 H14 V10.5 H9 V14 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'


def bang(c):
    return (f'<rect x="6.5" y="1.5" width="3" height="9" rx="1" fill="{c}"/>'
            f'<circle cx="8" cy="13.5" r="1.6" fill="{c}"/>')


def flag(c):
    return (f'<rect x="3" y="1.5" width="1.5" height="13" fill="{DARK}"/>'
            f'<path d="M4.5 2 H13 L11 5 L13 8 H4.5 Z" fill="{c}" stroke="{DARK}" stroke-width="0.6"/>')


def check(c):
    return f'<path d="M2 8.5 L6 12.5 L14 3.5" fill="none" stroke="{c}" stroke-width="2.6" stroke-linecap="round"/>'


def cross(c):
    return (f'<path d="M3.5 3.5 L12.5 12.5 M12.5 3.5 L3.5 12.5" stroke="{c}" stroke-width="2.6" '
            f'stroke-linecap="round"/>')


def plus(c):
    return f'<path d="M8 2.5 V13.5 M2.5 8 H13.5" stroke="{c}" stroke-width="2.8" stroke-linecap="round"/>'


def minus(c):
    return f'<path d="M2.5 8 H13.5" stroke="{c}" stroke-width="2.8" stroke-linecap="round"/>'


def bell(c):
    return (f'<path d="M8 2 C4.5 2 4.5 6 4.5 8 L3 11.5 H13 L11.5 8 C11.5 6 11.5 2 8 2 Z" fill="{c}" '
            f'stroke="{DARK}" stroke-width="0.7"/><circle cx="8" cy="13" r="1.5" fill="{DARK}"/>')


def speaker(c):
    return (f'<path d="M2 6 H5 L9 2.5 V13.5 L5 10 H2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<path d="M11 5 Q13 8 11 11 M12.5 3.5 Q15.5 8 12.5 12.5" fill="none" stroke="{DARK}" stroke-width="1"/>')


def bubble(c):
    return (f'<path d="M2 3 H14 V11 H7 L4 14 V11 H2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<path d="M4.5 6 H11.5 M4.5 8.5 H9.5" stroke="{DARK}" stroke-width="1"/>')


def sheet(c):
    return (f'<path d="M3.5 1.5 H10 L12.5 4 V14.5 H3.5 Z" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<path d="M5.5 6 H10.5 M5.5 8.5 H10.5 M5.5 11 H9" stroke="{GREY}" stroke-width="0.9"/>')


def pause(c):
    return (f'<rect x="3.5" y="2.5" width="3" height="11" fill="{c}"/>'
            f'<rect x="9.5" y="2.5" width="3" height="11" fill="{c}"/>')


def hourglass(c):
    return (f'<path d="M3.5 2 H12.5 L8 8 L12.5 14 H3.5 L8 8 Z" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>')


def star(c):
    return (f'<path d="M8 1.5 L9.9 6 L14.6 6.2 L10.9 9.2 L12.2 13.9 L8 11.2 L3.8 13.9 L5.1 9.2 L1.4 6.2 L6.1 6 Z" '
            f'fill="{c}" stroke="{DARK}" stroke-width="0.6"/>')


def house(c):
    return (f'<path d="M8 2 L14 7.5 H12.5 V14 H3.5 V7.5 H2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="6.8" y="10" width="2.4" height="4" fill="{DARK}"/>')


def envelope(c):
    return (f'<rect x="1.5" y="3.5" width="13" height="9" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<path d="M1.5 3.5 L8 9 L14.5 3.5" fill="none" stroke="{DARK}" stroke-width="0.8"/>')


def phone(c):
    return (f'<path d="M3 2.5 H6 L7 5.5 L5.3 6.8 Q6.8 9.6 9.2 10.7 L10.5 9 L13.5 10 V13 Q7 14 3 2.5 Z" '
            f'fill="{c}" stroke="{DARK}" stroke-width="0.7"/>')


def people(c):
    return (f'<circle cx="5.5" cy="5" r="2.3" fill="{c}" stroke="{DARK}" stroke-width="0.6"/>'
            f'<circle cx="10.5" cy="5" r="2.3" fill="{c}" stroke="{DARK}" stroke-width="0.6"/>'
            f'<path d="M1.5 14 Q1.5 8.5 5.5 8.5 Q8 8.5 8 11 Q8 8.5 10.5 8.5 Q14.5 8.5 14.5 14 Z" fill="{c}" '
            f'stroke="{DARK}" stroke-width="0.6"/>')


def person(c):
    return (f'<circle cx="8" cy="5" r="3" fill="{c}" stroke="{DARK}" stroke-width="0.6"/>'
            f'<path d="M2.5 14.5 Q2.5 9 8 9 Q13.5 9 13.5 14.5 Z" fill="{c}" stroke="{DARK}" stroke-width="0.6"/>')


def bin_(c):
    return (f'<path d="M4 5 H12 L11 14.5 H5 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="2.5" y="3" width="11" height="2" fill="{DARK}"/><rect x="6.5" y="1.5" width="3" height="1.5" fill="{DARK}"/>')


def lens(c):
    return (f'<circle cx="6.5" cy="6.5" r="4.3" fill="{c}" stroke="{DARK}" stroke-width="1.4"/>'
            f'<path d="M9.6 9.6 L14 14" stroke="{DARK}" stroke-width="2.4" stroke-linecap="round"/>')


def boxes(c):
    return (f'<rect x="1.5" y="8" width="6" height="6" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="8.5" y="8" width="6" height="6" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="5" y="2" width="6" height="6" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>')


def wrench(c):
    return (f'<path d="M10.5 1.5 A3.5 3.5 0 0 0 9.2 6.9 L2 14 L3.5 15 L10.3 8.1 A3.5 3.5 0 0 0 14.5 5.5 '
            f'L12.5 6 L10.5 4.5 L11 2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>')


def cart(c):
    return (f'<path d="M1 2.5 H3.5 L5.5 10.5 H13 L14.5 4.5 H4.2" fill="none" stroke="{DARK}" stroke-width="1.2"/>'
            f'<rect x="5" y="5" width="9" height="5" fill="{c}"/>'
            f'<circle cx="6.5" cy="13" r="1.4" fill="{DARK}"/><circle cx="12" cy="13" r="1.4" fill="{DARK}"/>')


def coin(c):
    return (f'<circle cx="8" cy="8" r="6" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<path d="M10 5.5 Q8 4 6.3 5.5 Q5.5 7.5 8 8 Q10.5 8.5 9.7 10.5 Q8 12 6 10.5 M8 3.5 V12.5" '
            f'fill="none" stroke="{DARK}" stroke-width="1"/>')


def pencil(c):
    return (f'<path d="M2 14 L3 10.5 L11 2.5 L13.5 5 L5.5 13 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<path d="M2 14 L3 10.5 L5.5 13 Z" fill="{DARK}"/>')


def bug(c):
    return (f'<ellipse cx="8" cy="9" rx="4" ry="5" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<path d="M4 6 L1.5 4.5 M12 6 L14.5 4.5 M4 9 H1.5 M12 9 H14.5 M4 12 L1.5 13.5 M12 12 L14.5 13.5 M8 4 V14" '
            f'stroke="{DARK}" stroke-width="0.9"/>')


def bulb(c):
    return (f'<path d="M8 1.5 A4.5 4.5 0 0 1 10.5 9.8 V12 H5.5 V9.8 A4.5 4.5 0 0 1 8 1.5 Z" fill="{c}" '
            f'stroke="{DARK}" stroke-width="0.7"/><rect x="5.5" y="12.5" width="5" height="2" fill="{GREY}"/>')


def clock(c):
    return (f'<circle cx="8" cy="8" r="6" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<path d="M8 4 V8 L11 10" fill="none" stroke="{DARK}" stroke-width="1.3"/>')


def calendar(c):
    return (f'<rect x="2" y="3" width="12" height="11" fill="#ffffff" stroke="{DARK}" stroke-width="0.8"/>'
            f'<rect x="2" y="3" width="12" height="3" fill="{c}"/>'
            f'<path d="M4.5 8.5 H6 M7.5 8.5 H9 M10.5 8.5 H12 M4.5 11 H6 M7.5 11 H9" stroke="{DARK}" stroke-width="1.2"/>')


def heart(c):
    return (f'<path d="M8 14 L2.5 8.5 A3.2 3.2 0 0 1 8 4 A3.2 3.2 0 0 1 13.5 8.5 Z" fill="{c}" '
            f'stroke="{DARK}" stroke-width="0.7"/>')


def gear(c):
    teeth = "".join(f'<rect x="7" y="0.8" width="2" height="3" fill="{c}" transform="rotate({a} 8 8)"/>'
                    for a in range(0, 360, 45))
    return teeth + (f'<circle cx="8" cy="8" r="4.6" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
                    f'<circle cx="8" cy="8" r="1.8" fill="#ffffff"/>')


def globe(c):
    return (f'<circle cx="8" cy="8" r="6" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<path d="M2 8 H14 M8 2 Q4 8 8 14 Q12 8 8 2" fill="none" stroke="{DARK}" stroke-width="0.7"/>')


def book(c):
    return (f'<path d="M2 3 Q5 1.8 8 3.5 Q11 1.8 14 3 V13.5 Q11 12.3 8 14 Q5 12.3 2 13.5 Z" fill="{c}" '
            f'stroke="{DARK}" stroke-width="0.7"/><path d="M8 3.5 V14" stroke="{DARK}" stroke-width="0.7"/>')


def car(c):
    return (f'<path d="M1.5 11 V8 L4 4.5 H11 L14.5 8 V11 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<circle cx="4.5" cy="11.5" r="1.8" fill="{DARK}"/><circle cx="11.5" cy="11.5" r="1.8" fill="{DARK}"/>')


def screen(c):
    return (f'<rect x="1.5" y="2" width="13" height="9" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<rect x="5.5" y="12" width="5" height="2" fill="{DARK}"/>')


def key(c):
    return (f'<circle cx="5" cy="8" r="3.3" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<path d="M8 8 H14.5 M12 8 V11 M14 8 V10.5" stroke="{DARK}" stroke-width="1.3"/>')


def music(c):
    return (f'<path d="M6 12 V3 L13 1.5 V10.5" fill="none" stroke="{DARK}" stroke-width="1.3"/>'
            f'<circle cx="4.5" cy="12" r="2" fill="{c}"/><circle cx="11.5" cy="10.5" r="2" fill="{c}"/>')


def recur(c):
    return (f'<path d="M13 6.5 A5.2 5.2 0 0 0 3.3 5.5" fill="none" stroke="{c}" stroke-width="2"/>'
            f'<path d="M3 9.5 A5.2 5.2 0 0 0 12.7 10.5" fill="none" stroke="{c}" stroke-width="2"/>'
            f'<path d="M1.5 2.5 L3.3 6.5 L6.8 4.3 Z M14.5 13.5 L12.7 9.5 L9.2 11.7 Z" fill="{c}"/>')


def clip(c):
    return (f'<path d="M10.5 5 V11.5 A2.5 2.5 0 0 1 5.5 11.5 V3.5 A1.8 1.8 0 0 1 9 3.5 V10.5 A0.8 0.8 0 0 1 7.5 10.5 V5" '
            f'fill="none" stroke="{c}" stroke-width="1.3"/>')


def printer(c):
    return (f'<rect x="4" y="1.5" width="8" height="5" fill="#ffffff" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="1.5" y="6" width="13" height="6" rx="1" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="4" y="10" width="8" height="4.5" fill="#ffffff" stroke="{DARK}" stroke-width="0.7"/>')


def funnel(c):
    return f'<path d="M1.5 2 H14.5 L9.5 8 V14 L6.5 12.5 V8 Z" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'


def sortbars(c):
    return (f'<rect x="2" y="2.5" width="4" height="2" fill="{c}"/><rect x="2" y="7" width="7" height="2" fill="{c}"/>'
            f'<rect x="2" y="11.5" width="10" height="2" fill="{c}"/>'
            f'<path d="M12.5 1.5 V9 M10.5 7 L12.5 9.5 L14.5 7" fill="none" stroke="{DARK}" stroke-width="1.2"/>')


def question(c):
    return (circle(c, 6.5) + f'<path d="M6 6 A2 2 0 1 1 8.5 8 Q8 8.3 8 9.5" fill="none" stroke="#ffffff" '
            f'stroke-width="1.6"/><circle cx="8" cy="12" r="1" fill="#ffffff"/>')


def door(c):
    return (f'<rect x="3" y="1.5" width="8" height="13" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<circle cx="9" cy="8" r="0.9" fill="{DARK}"/>'
            f'<path d="M10 8 H15 M13 6 L15 8 L13 10" fill="none" stroke="{DARK}" stroke-width="1.2"/>')


def disk(c):
    return (f'<path d="M2 2 H12 L14 4 V14 H2 Z" fill="{c}" stroke="{DARK}" stroke-width="0.8"/>'
            f'<rect x="4.5" y="2" width="6" height="4" fill="#ffffff"/><rect x="4" y="9" width="8" height="5" fill="#ffffff"/>')


def undo(c):
    return (f'<path d="M4 6 H10 A3.5 3.5 0 0 1 10 13 H6" fill="none" stroke="{c}" stroke-width="2.2"/>'
            f'<path d="M1.5 6 L5.5 2.5 V9.5 Z" fill="{c}"/>')


def archive(c):
    return (f'<rect x="1.5" y="2" width="13" height="3.5" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="2.5" y="5.5" width="11" height="8.5" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<rect x="6" y="7.5" width="4" height="1.5" fill="{DARK}"/>')


def tags(c):
    return (f'<path d="M1.5 2 H8 L14.5 8.5 L8.5 14.5 L1.5 8 Z" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<circle cx="4.8" cy="5.3" r="1.3" fill="#ffffff"/>')


def letter(ch, c):
    return (f'<rect x="1.5" y="1.5" width="13" height="13" rx="2" fill="{c}" stroke="{DARK}" stroke-width="0.6"/>'
            f'<text x="8" y="12" font-family="sans-serif" font-weight="bold" font-size="10" text-anchor="middle" '
            f'fill="#ffffff">{ch}</text>')


def overlay(*parts):
    return "".join(parts)


def info(c):
    return circle(c, 6.5) + '<rect x="7" y="7" width="2" height="5" fill="#ffffff"/><circle cx="8" cy="4.8" r="1.1" fill="#ffffff"/>'


def tray(c):
    return (f'<rect x="1.5" y="9" width="13" height="5" fill="{c}" stroke="{DARK}" stroke-width="0.7"/>'
            f'<path d="M8 1.5 V8 M5 5 L8 8 L11 5" fill="none" stroke="{DARK}" stroke-width="1.5"/>')


def empty():
    return ""


# The images the task tree, its tabs and the lookup editors use. Fixed positions: 0
# empty; 1..4 priorities Low..Urgent; 5 flag; 10..12 reminder beep, sound, speech; 26..30
# and 49 the statuses; 35..48 the default type glyphs; 54 recurring.
TASKTREE = [
    empty(),                     # 0  nothing
    arrow_down(BLUE),            # 1  priority Low
    circle(GREEN, 4.5),          # 2  priority Medium
    arrow_up(ORANGE),            # 3  priority High
    bang(RED),                   # 4  priority Urgent
    flag(RED),                   # 5  flagged
    clock("#ffffff"),            # 6
    calendar(RED),               # 7
    sheet("#ffffff"),            # 8
    clip(DARK),                  # 9
    bell(YELLOW),                # 10 reminder: beep
    speaker(BLUE),               # 11 reminder: sound
    bubble("#ffffff"),           # 12 reminder: speech
    star(YELLOW),                # 13
    house(ORANGE),               # 14
    people(BLUE),                # 15
    person(GREEN),               # 16
    heart(RED),                  # 17
    book(BLUE),                  # 18
    globe(TEAL),                 # 19
    car(RED),                    # 20
    screen(BLUE),                # 21
    key(YELLOW),                 # 22
    music(PURPLE),               # 23
    gear(GREY),                  # 24
    tags(ORANGE),                # 25
    sheet("#ffffff"),            # 26 status Created
    pause(ORANGE),               # 27 status Put on hold
    hourglass(YELLOW),           # 28 status Waiting
    ring(BLUE),                  # 29 status Open
    check(GREEN),                # 30 status OK
    square(RED),                 # 31
    square(ORANGE),              # 32
    square(YELLOW),              # 33
    square(GREEN),               # 34
    phone(GREEN),                # 35 Call
    envelope(YELLOW),            # 36 Mail
    people(ORANGE),              # 37 Meet
    bin_(GREY),                  # 38 Trash
    lens(TEAL),                  # 39 Find
    boxes(BROWN),                # 40 Arrange
    wrench(GREY),                # 41 Fix
    cart(BLUE),                  # 42 Buy
    coin(YELLOW),                # 43 Invest
    bubble(YELLOW),              # 44 Talk to
    pencil(ORANGE),              # 45 Write
    check(BLUE),                 # 46 Check
    bug(RED),                    # 47 Fix bug
    bulb(YELLOW),                # 48 Idea
    cross(RED),                  # 49 status Cancelled
    square(BLUE),                # 50
    square(PURPLE),              # 51
    circle(RED),                 # 52
    circle(BLUE),                # 53
    recur(TEAL),                 # 54 template or from a template
]

# Actions, shared by the large (tool bar) and small (menu) strips; the small strip has
# four more at its end. The names are in ui/TdCommon.h.
ACTIONS = [
    empty(),                     # 0  nothing
    plus(GREEN),                 # 1  add task
    cross(RED),                  # 2  delete task
    printer(GREY),               # 3  print
    gear(GREY),                  # 4  options
    funnel(YELLOW),              # 5  edit filter
    sortbars(BLUE),              # 6  sort
    question(BLUE),              # 7  help
    door(BROWN),                 # 8  exit
    lens(TEAL),                  # 9  find
    pencil(ORANGE),              # 10 edit task
    disk(BLUE),                  # 11 backup
    sheet("#ffffff") + arrow_right(GREEN).replace('stroke-width="0.7"', 'stroke-width="0.5" transform="translate(4 4) scale(0.6)"'),  # 12 export
    undo(BLUE),                  # 13 undo delete
    archive(BROWN),              # 14 archive tasks
    archive(TEAL),               # 15 view archive
    tags(ORANGE),                # 16 categories
    person(GREEN),               # 17 resources
    boxes(PURPLE),               # 18 types
    funnel(GREEN) + check(DARK).replace('stroke-width="2.6"', 'stroke-width="1.8" transform="translate(7 7) scale(0.55)"'),  # 19 filter on
    funnel(GREY) + cross(RED).replace('stroke-width="2.6"', 'stroke-width="1.8" transform="translate(7 7) scale(0.55)"'),   # 20 filter off
]
SMALL_EXTRA = [
    arrow_right(TEAL),           # 21 search again
    info(BLUE),                  # 22 about
    globe(BLUE),                 # 23 web link
    tray(GREY),                  # 24 restore from the tray
]


def strip(name, images, size):
    scale = size / 16.0
    cells = []
    for i, body in enumerate(images):
        cells.append(f'<g transform="translate({i * size} 0) scale({scale})">{body}</g>')
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{len(images) * size}" height="{size}" '
           f'viewBox="0 0 {len(images) * size} {size}">\n' + "\n".join(cells) + "\n</svg>\n")
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write(svg)


if __name__ == "__main__":
    assert len(TASKTREE) == 55 and len(ACTIONS) == 21 and len(SMALL_EXTRA) == 4
    strip("tasktree.svg", TASKTREE, 16)
    strip("small.svg", ACTIONS + SMALL_EXTRA, 16)
    strip("large.svg", ACTIONS, 24)
