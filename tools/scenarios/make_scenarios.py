#!/usr/bin/python3
"""Writes the flight scenarios of data/scenarios/ from a few legs each: a
circuit flown with each fly-by placement, and an approach and landing with the
approach view. Run it again after changing a flight; the files are kept in the
repository so that the scenarios can be read and edited by hand too.

Flights are planned in a pilot's words (turns positive right, climbs
positive up) and written in the host's signs, which come from the host-facts
page (docs/host-facts.md)."""

import math
import re
from pathlib import Path

FEET_PER_DEGREE_LATITUDE = 364566.0  # 111120 m
KNOTS_TO_FEET_PER_SECOND = 1.68781
KNOTS_TO_METRES_PER_SECOND = 1852.0 / 3600.0
ROOT = Path(__file__).resolve().parents[2]
OUT = ROOT / "data" / "scenarios"

# A taxi turn is steered with the rudder: the nose wheel turns a light
# aircraft about its main wheels this far behind it (a Cessna 172's wheelbase).
WHEELBASE_METRES = 1.65
RUDDER_RAMP_SECONDS = 3.0  # a pilot's foot goes in and comes out over this long


def host_signs(page=ROOT / "docs" / "host-facts.md"):
    """The host's signs of a right bank and of a nose-up pitch: +1 or -1, as
    the host-facts page's table of variables words them."""
    signs = {}
    for line in page.read_text().splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) == 5 and cells[0] in ("77", "79"):
            signs[cells[0]] = cells[3]
    bank = {"positive left wing down": -1, "positive right wing down": 1}[signs["79"]]
    pitch = {"positive nose down": -1, "positive nose up": 1}[signs["77"]]
    return bank, pitch


RIGHT_BANK_SIGN, NOSE_UP_SIGN = host_signs()


class Flight:
    def __init__(self, latitude, longitude, elevation, heading):
        self.time, self.latitude, self.longitude = 0.0, latitude, longitude
        self.altitude, self.elevation, self.heading = elevation, elevation, heading
        self.speed, self.climb, self.bank, self.on_ground = 0.0, 0.0, 0.0, True
        self.pitch_offset, self.buffet, self.rudder = 0.0, 32767.0, 0.0
        self.frames = []
        self.keep()

    def keep(self):
        forward = self.speed * KNOTS_TO_FEET_PER_SECOND
        vertical = self.climb / 60.0
        nose_up = (math.degrees(math.atan2(vertical, forward)) if forward > 0 else 0.0) + self.pitch_offset
        frame = dict(time=round(self.time, 3), latitude=round(self.latitude, 8),
                     longitude=round(self.longitude, 8), altitude=round(self.altitude, 2),
                     pitch=round(NOSE_UP_SIGN * nose_up, 3) + 0.0, bank=round(RIGHT_BANK_SIGN * self.bank, 2) + 0.0,
                     heading=round(self.heading % 360, 3),
                     velocity=[0.0, round(vertical, 3), round(forward, 3)],
                     ground_elevation=self.elevation, on_ground=self.on_ground, speed=round(self.speed, 2),
                     buffet=self.buffet)
        if self.rudder:
            frame["rudder"] = round(self.rudder, 5)
        self.frames.append(frame)

    def leg(self, seconds, speed=None, climb=0.0, turn=0.0, on_ground=False, step=2.0, bank=20.0):
        """Flies for `seconds`, reaching `speed` (knots) at the end, climbing in
        feet per minute and turning `turn` degrees (positive right), banked
        `bank` degrees into the turn; on the ground see taxi_turn."""
        if on_ground and turn:
            return self.taxi_turn(seconds, turn, step, speed)
        start_speed = self.speed
        end_speed = start_speed if speed is None else speed
        steps = max(1, round(seconds / step))
        for index in range(1, steps + 1):
            dt = seconds / steps
            self.speed = start_speed + (end_speed - start_speed) * index / steps
            self.climb = climb
            self.bank = math.copysign(bank, turn) if turn and not on_ground else 0.0
            self.heading += turn / steps
            distance = self.speed * KNOTS_TO_FEET_PER_SECOND * dt
            self.latitude += distance * math.cos(math.radians(self.heading)) / FEET_PER_DEGREE_LATITUDE
            self.longitude += distance * math.sin(math.radians(self.heading)) / (
                FEET_PER_DEGREE_LATITUDE * math.cos(math.radians(self.latitude)))
            self.altitude = self.elevation if on_ground else max(self.elevation, self.altitude + climb / 60.0 * dt)
            self.on_ground = on_ground
            self.time += dt
            self.keep()

    def taxi_turn(self, seconds, turn, step, speed=None):
        """Steers `turn` degrees (positive right) on the ground, level, reaching
        `speed` (knots) at the end: the rudder goes in over RUDDER_RAMP_SECONDS,
        is held and comes out again, and the heading follows the nose wheel
        (the rate speed x tan(rudder) / wheelbase)."""
        start_speed = self.speed
        end_speed = start_speed if speed is None else speed
        ramp = min(RUDDER_RAMP_SECONDS, seconds / 2.0)
        substeps, steps = 20, max(1, round(seconds / step))
        dt = seconds / steps / substeps

        def pedal(t):  # the share of the rudder held at time t of the turn
            return min(1.0, t / ramp, (seconds - t) / ramp)

        def knots(t):
            return start_speed + (end_speed - start_speed) * t / seconds

        def turned(rudder):  # degrees the turn turns with this rudder held
            total = 0.0
            for index in range(steps * substeps):
                t = (index + 0.5) * dt
                total += math.degrees(knots(t) * KNOTS_TO_METRES_PER_SECOND * math.tan(rudder * pedal(t)) /
                                      WHEELBASE_METRES) * dt
            return total

        low, high = 0.0, 0.6  # radians of rudder
        for _ in range(50):
            middle = (low + high) / 2.0
            low, high = (middle, high) if turned(middle) < abs(turn) else (low, middle)
        rudder = math.copysign((low + high) / 2.0, turn)
        for index in range(1, steps + 1):
            for sub in range(substeps):
                t = (index - 1) * seconds / steps + (sub + 0.5) * dt
                self.heading += math.degrees(knots(t) * KNOTS_TO_METRES_PER_SECOND * math.tan(rudder * pedal(t)) /
                                             WHEELBASE_METRES) * dt
                distance = knots(t) * KNOTS_TO_FEET_PER_SECOND * dt
                self.latitude += distance * math.cos(math.radians(self.heading)) / FEET_PER_DEGREE_LATITUDE
                self.longitude += distance * math.sin(math.radians(self.heading)) / (
                    FEET_PER_DEGREE_LATITUDE * math.cos(math.radians(self.latitude)))
            t = index * seconds / steps
            self.speed, self.rudder = knots(t), rudder * pedal(t)
            self.bank, self.climb, self.on_ground = 0.0, 0.0, True
            self.time += seconds / steps
            self.keep()
        self.rudder = 0.0


def circuit():
    flight = Flight(47.0, 8.0, 1400.0, 0.0)
    flight.leg(24, speed=65, on_ground=True)          # take-off roll
    flight.leg(60, speed=90, climb=700)               # climb-out
    flight.leg(30, climb=700, turn=-90)               # turn to crosswind
    flight.leg(20, speed=100, climb=500)
    flight.leg(30, climb=0, turn=-90)                 # turn to downwind
    flight.leg(70)                                    # downwind
    flight.leg(30, speed=90, climb=-500, turn=-90)    # turn to base
    flight.leg(20, climb=-500)
    flight.leg(30, speed=75, climb=-500, turn=-90)    # turn to final
    flight.leg(40, speed=65, climb=-500)              # final
    flight.leg(20, speed=5, on_ground=True)           # roll-out
    return flight


def approach():
    flight = Flight(46.90, 8.0, 1400.0, 0.0)
    flight.altitude = 4400.0
    flight.on_ground = False
    flight.speed = 120
    flight.frames = []
    flight.keep()
    flight.leg(40, climb=0)                           # level, intercepting the glide path
    flight.leg(180, speed=110, climb=-600)            # on the glide path
    flight.leg(100, speed=70, climb=-720)             # short final down to the runway
    flight.leg(25, speed=10, on_ground=True)          # roll-out
    return flight


def taxi():
    flight = Flight(47.0, 8.0, 1400.0, 90.0)
    flight.leg(10, speed=15, on_ground=True, step=1)
    flight.leg(15, speed=25, on_ground=True, step=1)
    flight.leg(10, speed=15, turn=90, on_ground=True, step=1)
    flight.leg(15, speed=25, on_ground=True, step=1)
    flight.leg(10, speed=0, on_ground=True, step=1)
    flight.leg(15, speed=60, on_ground=True, step=1)  # a take-off run over the rough ground, rejected
    flight.leg(10, speed=0, on_ground=True, step=1)
    return flight


def turn_then_pull_up(flight, straight, climbing):
    flight.leg(30, turn=90, bank=30, step=1)        # a rate-three turn to the right
    flight.leg(straight, step=1)
    for pitch in (4.0, 8.0, 12.0, 15.0):            # a pull-up: the nose up over four seconds
        flight.pitch_offset = pitch
        flight.leg(1, climb=1500, step=1)
    flight.leg(climbing, climb=1500, step=1)
    return flight


def turn_and_pitch_up():
    flight = Flight(47.0, 8.0, 1400.0, 0.0)
    flight.altitude, flight.on_ground, flight.speed = 4400.0, False, 110
    flight.frames = []
    flight.keep()
    flight.leg(10, step=1)
    return turn_then_pull_up(flight, 10, 15)


def stall_warning():
    flight = Flight(47.0, 8.0, 1400.0, 0.0)
    flight.altitude, flight.on_ground, flight.speed = 5400.0, False, 70
    flight.frames = []
    flight.keep()
    flight.leg(10, speed=60, step=1)
    flight.buffet = 6000.0                          # the host's stall warning: the airframe buffets
    flight.leg(12, speed=52, climb=-300, step=1)
    flight.buffet = 32767.0
    flight.leg(10, speed=70, climb=-800, step=1)
    return flight


def taxi_turn_and_pull_up():
    flight = Flight(47.0, 8.0, 1400.0, 90.0)
    flight.leg(8, speed=15, on_ground=True, step=1)
    flight.leg(14, speed=15, turn=90, on_ground=True, step=1)   # steered onto the runway
    flight.leg(16, speed=65, on_ground=True, step=1)            # the take-off roll over rough ground
    flight.leg(12, speed=100, climb=700, step=1)
    return turn_then_pull_up(flight, 8, 12)


# Every motion option on; keys to store a view, turn the head and call the
# view back.
MOTION_BINDINGS = """[Keyboard]
SetCockpitView1=CONTROL,SHIFT,1
CockpitView1=CONTROL,1
PilotHeadLeft=DOUBLE,NUMPAD_7

[Motion]
SameAtAnyFrameRate=1
TransitionSeconds=1.0
TransitionCurve=smooth
YieldToLook=1
LevelHead=0.5
LevelHeadLimit=20
LookIntoTurn=0.5
LookIntoTurnLimit=15
"""
MOTION_INPUTS = ((3.0, "key", "1", "control", "shift"),               # the view straight ahead kept
                 (4.0, "key_down", "NUMPAD_7"), (6.57, "key_up", "NUMPAD_7"),  # the head turned 90 degrees left
                 (9.0, "key", "1", "control"),                        # and called back
                 (60.0, "key_down", "NUMPAD_7"), (61.0, "key_up", "NUMPAD_7"),  # a look left in the turn
                 (64.0, "key", "1", "control"))


# What the body feels: the touchdown's shake and the eye on the load factor.
FEEL_BINDINGS = """[Motion]
SameAtAnyFrameRate=1
Touchdown=1
LoadFactor=1
"""


def touch_down(flight, sink):
    """The wheels meet the ground sinking at `sink` feet per second."""
    flight.time += 0.02
    flight.on_ground, flight.climb = True, -sink * 60.0
    flight.altitude = flight.elevation
    flight.keep()


def landing_and_bounce(sink=10.0, bounce=True):
    """A firm landing (10 ft/s) that bounces: a second and a half aloft, down
    again at 4 ft/s, and the roll-out. Or a landing at `sink` feet per second
    that does not bounce."""
    flight = Flight(47.0, 8.0, 1400.0, 0.0)
    flight.altitude, flight.on_ground, flight.speed = 1400.0 + 30 * sink, False, 65
    flight.frames = []
    flight.keep()
    flight.leg(30, climb=-60 * sink, step=1)            # the final, sinking at `sink` ft/s
    touch_down(flight, sink)
    if bounce:
        flight.leg(0.5, climb=480, step=0.25)           # bounced up at 8 ft/s
        flight.leg(1.0, climb=-240, step=0.25)          # and down at 4 ft/s
        touch_down(flight, 4.0)
    flight.leg(20, speed=10, on_ground=True, step=1)    # the roll-out
    return flight


def manoeuvre(flight, seconds, pitch_rate=0.0, turn_rate=0.0, step=0.25):
    """Flies `seconds` at the speed held, the nose rising at `pitch_rate` and
    the heading turning (right) at `turn_rate` degrees a second, wings level,
    the velocity along the nose: what the body feels comes from the path."""
    substeps = 10
    for _ in range(max(1, round(seconds / step))):
        for _ in range(substeps):
            dt = step / substeps
            flight.pitch_offset += pitch_rate * dt
            flight.heading += turn_rate * dt
            climb = math.radians(flight.pitch_offset)
            distance = flight.speed * KNOTS_TO_FEET_PER_SECOND * math.cos(climb) * dt
            flight.latitude += distance * math.cos(math.radians(flight.heading)) / FEET_PER_DEGREE_LATITUDE
            flight.longitude += distance * math.sin(math.radians(flight.heading)) / (
                FEET_PER_DEGREE_LATITUDE * math.cos(math.radians(flight.latitude)))
            flight.altitude += flight.speed * KNOTS_TO_FEET_PER_SECOND * math.sin(climb) * dt
        flight.time += step
        nose_up = flight.pitch_offset
        flight.keep()
        # The velocity along the nose: in the aircraft's axes all forward.
        flight.frames[-1]["pitch"] = round(NOSE_UP_SIGN * nose_up, 3) + 0.0
        flight.frames[-1]["velocity"] = [0.0, 0.0, round(flight.speed * KNOTS_TO_FEET_PER_SECOND, 3)]
    return flight


def aerobatics():
    """Level at 120 knots, a 3 g pull-up into a climb, a push over to level
    (less than 1 g), then a skid: a flat turn to the right, wings level."""
    flight = Flight(47.0, 8.0, 1400.0, 0.0)
    flight.altitude, flight.on_ground, flight.speed = 5400.0, False, 120
    flight.frames = []
    flight.keep()
    speed = 120 * KNOTS_TO_FEET_PER_SECOND * 0.3048
    pull = math.degrees(2 * 9.80665 / speed)            # 3 g: the nose rises at 2 g / V
    manoeuvre(flight, 8)
    manoeuvre(flight, 2, pitch_rate=pull)                # the pull-up
    manoeuvre(flight, 4)                                 # climbing
    manoeuvre(flight, 2, pitch_rate=-pull / 2)           # pushed over: about 0 g
    manoeuvre(flight, 4)
    manoeuvre(flight, 5, turn_rate=6)                    # the skid
    manoeuvre(flight, 5)
    return flight


def taxi_and_take_off():
    flight = Flight(47.0, 8.0, 1400.0, 90.0)
    flight.leg(12, speed=15, on_ground=True, step=1)
    flight.leg(10, speed=15, turn=90, on_ground=True, step=1)   # onto the runway
    flight.leg(8, speed=0, on_ground=True, step=1)              # holding short
    flight.leg(20, speed=65, on_ground=True, step=1)            # the take-off roll
    flight.leg(15, speed=80, climb=700, step=1)                 # climbing out
    return flight


# The pilot's head through the taxi and take-off, in words: (time, turned
# left, looking up, tilted left, moved left, moved up, moved back), degrees
# and centimetres. A head at rest is never still to the bit.
REST = (0.5, -1, 0, 0, 0, 0)
HEAD_POSES = [
    (0, *REST), (3, *REST),
    (5, 40, -1, 0, 0, 0, 0), (8, 40, 5, 0, 0, 0, 0),            # a look left
    (10, -50, 0, -5, 0, 0, 0), (12, -50, 0, -5, 0, 0, 0),       # and right, the head tilted
    (14, 0, 15, 0, 0, 2, 0),                                    # up
    (16, 0, -20, 0, 0, -3, -12), (19, 10, -25, 0, -4, -3, -15),  # leaning toward the panel
    (21, *REST), (23, 30, 0, 0, 0, 0, 0),
    (31, 20, 5, 0, 0, 0, 0), (34, -20, 0, 0, 0, 0, 0), (37, -20, 0, 0, 0, 0, 0),  # centred, 20 right
    (40, 5, 0, 0, 0, 0, 0), (42, 25, 0, 5, 0, 0, 0), (45, 25, 0, 5, 0, 0, 0),     # stopped, 25 left
    (48, 10, 2, 0, 0, 0, 0), (50, *REST),
    (52, 190, 0, 0, 0, 0, 0), (56, 190, 0, 0, 0, 0, 0),         # over the shoulder, the curve held at its end
    (58, 15, 10, 0, 0, 0, -4), (62, *REST),
]
# Started; crashed and started again; stopped with the head turned after the
# module's centre, started again; stopped.
HEAD_EVENTS = [(0.0, "started"), (24.0, "crashed"), (30.0, "started"), (43.0, "stopped"), (47.0, "started"),
               (64.0, "stopped")]
CENTRE_KEY = (36.0, "key", "C")


def value(item):
    if isinstance(item, bool):
        return "true" if item else "false"
    if isinstance(item, list):
        return "[" + ", ".join(value(part) for part in item) + "]"
    return repr(item)


def write(name, title, flight, registry, frame_rate=20, inputs=(), views=(4,), tracker=None, bindings=None, out=OUT):
    lines = [f"# {title}", "# Made by tools/scenarios/make_scenarios.py.", f'title = "{title}"', "",
             "[run]", f"duration = {round(flight.time, 1)}", f"frame_rate = {frame_rate}", "start_clock = 600000", "",
             "[host]", "main_window = true", "menu_popups = 4", ""]
    for kind in views:
        lines += ["[[host.view]]", f"kind = {kind}"]
        if kind == 2:
            lines += ["eye_base = [0.0, 0.9, 1.5]", "eye_offset = [-0.35, 0.0, 0.0]"]
        lines.append("")
    lines.append("[registry]")
    lines += [f'{key} = "{text}"' for key, text in registry.items()] + [""]
    if bindings and "\n" in bindings:
        lines += ["[bindings]", f'text = """\n{bindings}"""', ""]
    elif bindings:
        lines += ["[bindings]", f'file = "{bindings}"', ""]
    for time, key, text, *modifiers in inputs:
        lines += ["[[input]]", f"time = {time}", f"{key} = {value(text)}"]
        lines += [f"{modifier} = true" for modifier in modifiers] + [""]
    if tracker:
        poses, events = tracker
        lines += ["[tracker]", ""]
        for time, *head in poses:
            lines += ["[[tracker.pose]]", f"time = {float(time)}"]
            lines += [f"{key} = {float(amount)}" for key, amount in zip(
                ("turned_left", "looking_up", "tilted_left", "moved_left", "moved_up", "moved_back"), head)]
            lines.append("")
        for time, event in events:
            lines += ["[[tracker.event]]", f"time = {time}", f'event = "{event}"', ""]
    for frame in flight.frames:
        lines.append("[[aircraft]]")
        lines += [f"{key} = {value(item)}" for key, item in frame.items()]
        lines.append("")
    (Path(out) / f"{name}.toml").write_text("\n".join(lines))


def main():
    for name, placement, travelling, words in (("circuit_right", 0, 0, "to the right"),
                                               ("circuit_left", 1, 0, "to the left"),
                                               ("circuit_random", 2, 0, "to a random side"),
                                               ("circuit_travelling", 0, 1, "travelling")):
        write(name, f"A circuit with fly-bys {words}", circuit(),
              {"FlyByActive": "1", "ApproachActive": "0", "FlyByDuration": "12", "FlyByMinDistance": "150",
               "FlyByCameraPlacement": str(placement), "FlyByTravelling": str(travelling)})
    write("approach_landing", "An approach and landing with the approach view", approach(),
          {"FlyByActive": "0", "ApproachActive": "1", "FlyByDuration": "15", "ApproachViewX": "60",
           "ApproachViewZ": "300"})
    cockpit = {"FlyByActive": "0", "InternalViewActive": "1"}
    write("cockpit_taxi", "Taxiing over rough ground in the virtual cockpit, and a rejected take-off run",
          taxi(), cockpit, frame_rate=30,
          views=(2,))
    write("cockpit_turn_and_pull_up", "A turn and a pull-up in the virtual cockpit, with a look at the spot view",
          turn_and_pitch_up(), cockpit, frame_rate=30, views=(2, 4), inputs=((62, "view", 1), (66, "view", 0)))
    write("cockpit_stall_warning", "Buffeting at the stall warning in the virtual cockpit", stall_warning(),
          cockpit, frame_rate=30, views=(2,))
    write("cockpit_head_tracker", "Head tracking through a taxi and take-off: looking round, leaning to the "
          "panel, the tracker crashing and started again, centred, stopped with the head turned, over the "
          "shoulder at the curve's end", taxi_and_take_off(), cockpit, frame_rate=30, views=(2,),
          tracker=(HEAD_POSES, HEAD_EVENTS), inputs=(CENTRE_KEY + ("control", "shift"),),
          bindings="../Varolen2004.cfg")
    write("cockpit_motion_options", "Every motion option on: a taxi over rough ground, a turn and a pull-up, "
          "the head turned and the view called back", taxi_turn_and_pull_up(), cockpit, frame_rate=30, views=(2,),
          inputs=MOTION_INPUTS, bindings=MOTION_BINDINGS)
    write("cockpit_landing_and_bounce", "A firm landing that bounces, with the touchdown and the load felt",
          landing_and_bounce(), cockpit, frame_rate=30, views=(2,), bindings=FEEL_BINDINGS)
    write("cockpit_aerobatics", "A 3 g pull-up, a push over and a skid, with the load felt", aerobatics(), cockpit,
          frame_rate=30, views=(2,), bindings=FEEL_BINDINGS)
    write("head_tracker_fresh_install", "A fresh install with opentrack running: no setting stored, the "
          "host's own virtual cockpit turned by the tracked head", taxi_and_take_off(), {}, frame_rate=30,
          views=(2,), tracker=(HEAD_POSES[:12], [(0.0, "started")]))


if __name__ == "__main__":
    main()
