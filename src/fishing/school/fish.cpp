// Fish: start values, the behaviour tick and its states (cruise, flee, roll, leap, the fight).
#include "fishing/school/fish.h"
#include <cmath>
#include "common/angles.h"
#include "common/single_precision.h"
#include "common/step_gate.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "shell/game_app.h"

namespace {
int R() { return plat::GameRand(); }

// The fish's turn search: steps of 0.01 until within 0.1 of the aim.
TurnStepCounts FishTurnSteps(double from, double aim) { return CountTurnSteps(from, aim, 0.01, 0.1); }
}  // namespace

Fish::Fish() : lastTick(plat::GetTickCount()) {}

void Fish::Start(double x_, double y_, double z_, double sizeBase, double weight_, double heading_,
                 int32_t kind_, double shapeFactor_) {
    active = 1;
    x = x_;
    y = y_;
    z = z_;
    size = F32(sizeBase + F32(R() / 32767.0));
    heading = heading_;
    blocked = 0;
    hasBeenHooked = 0;
    leapHoldTicks = 0;
    pitch = 6.2;
    tailSwing = F32(0.1 + F32(R() / 109223.33333333334));
    tailSwingUp = 1;
    kind = kind_;
    speed = F32(0.02 + F32(R() / 327670.0));
    fear = 0;
    confidence = 50;
    lineLoad = 0;
    appetite = 0;
    climbRate = 0;
    climbing = 1;
    breached = 0;
    depthLayer = 5;
    runHeading = 0;
    stamina = F32(100.0 - F32(R() / 1092.0));
    strength = F32(F32(size * 1.5) + F32(R() / 3276.0));
    tired = 0;
    canSwitchRun = 1;
    thrashing = 0;
    longRunner = 0;
    secondWind = 0;
    if (kind >= 1 && kind <= 27) {
        if (R() < 15000) longRunner = 1;
        if (R() < 15000) secondWind = 1;
    } else if (kind >= 28 && kind <= 32) {
        if (R() < 5000) longRunner = 1;
        if (R() < 5000) secondWind = 1;
    }
    longRunTicks = 0;
    runSwitched = 0;
    takeValue[0] = takeValue[1] = 0;
    weight = weight_;
    shapeFactor = shapeFactor_;
    feedCount = 0;
    feedPause = 0;
    feeding = 0;
    stillTicks = 0;
    stuck = 0;
    splashCooldown = 0;
    bodyDepth = F32(F32(size / 50.0) + F32(1.0 - F32(shapeFactor / 50.0)));
}

void Fish::Update() {
    if (!StepDue(lastTick, 100)) return;

    if (splashCooldown > 0) --splashCooldown;
    heading = WrapHeading(heading);

    if (tailSwingUp) {
        tailSwing = F32(tailSwing + speed);
    } else {
        tailSwing = F32(tailSwing - speed);
    }
    if (tailSwing > 0.4) tailSwingUp = 0;
    if (tailSwing < 0) tailSwingUp = 1;

    if (confidence < 0) confidence = 0;
    if (confidence > 100) confidence = 100;
    if (confidence < 50) confidence = F32(confidence + 0.001);
    if (confidence > 50) confidence = F32(confidence - 0.001);
    if (confidence > 100) confidence = 100;

    if (appetite > confidence) appetite = confidence;
    if (appetite > 100) appetite = 100;
    if (fear > 0) appetite = F32(appetite - F32(fear / 50.0));
    if (appetite < -100) appetite = -100;

    if (appetite < 10) {
        if (depthLayer > 5) depthLayer = F32(depthLayer - 0.1);
        if (depthLayer < 5) depthLayer = F32(depthLayer + 0.1);
    }

    // Feeding bouts: a bout counts up while the pause is 0; a pause counts down and always ends.
    if (feeding && feedPause == 0) feedCount += R() / 16383;
    if (feeding && feedPause > 0) {
        feedPause -= R() / 16383;
        if (feedPause < 0) feedPause = 0;
    }
    if (feedPause == 0) feeding = 0;

    switch (state) {
        case FISH_CRUISE: Cruise(); break;
        case FISH_FLEE: Flee(); break;
        case FISH_ROLL: Roll(); break;
        case FISH_LEAP: Leap(); break;
        case FISH_HOOKED: Hooked(); break;
        default: break;
    }

    if (std::fabs(F32(x - lastX)) < 0.025 && std::fabs(F32(y - lastY)) < 0.025 &&
        std::fabs(F32(z - lastZ)) < 0.025) {
        ++stillTicks;
    } else {
        stillTicks = 0;
        stuck = 0;
    }
    if (stillTicks > 30) stuck = 1;
    if (x < 1) x = 1;
    if (x > 200) x = 200;
    if (z < 1) z = 1;
    if (z > 200) z = 200;
    const double maxSpeed = F32(size / 200.0);
    if (speed > maxSpeed) speed = maxSpeed;
    if (speed < 0.005) speed = 0.005;
    lastX = x;
    lastY = y;
    lastZ = z;
}

// Three chance draws: rising below `riseChance`, diving below `diveChance` (the later draw wins),
// and, either way, level again below 300.
void Fish::PickClimbOrDive(double riseChance, double diveChance) {
    if (R() < riseChance) {
        rising = 1;
        diving = 0;
    }
    if (R() < diveChance) {
        diving = 1;
        rising = 0;
    }
    if ((rising || diving) && R() < 300) rising = diving = 0;
}

// A turn left below `threshold`, else right.
void Fish::PickTurn(int threshold) {
    if (R() < threshold) {
        turningLeft = 1;
        turningRight = 0;
    } else {
        turningRight = 1;
        turningLeft = 0;
    }
}

void Fish::TurnBySpeed() {
    const double turn = F32(speed / 2.0);
    if (turningRight) heading = F32(heading + turn);
    if (turningLeft) heading = F32(heading - turn);
}

// Too near the bottom: lift a little and level out.
void Fish::BottomCheck() {
    const double floor = F32(bottomY + F32(F32(1.0 - F32(shapeFactor / 50.0)) / 2.0));
    if (y < floor) {
        y = F32(y + F32(speed / 2.0));
        diving = 0;
        pitch = FULL_TURN;
    }
}

// Shallow water ahead: start a turn.
void Fish::ShallowCheck() {
    if (bottomY > F32(-1.2 * bodyDepth) && !turningLeft && !turningRight) PickTurn(16383);
}

// Moves to the next point when the water there is deep enough (and, cruising, away from the hut).
void Fish::Step(bool avoidHut) {
    bool go = bottomY < F32(-bodyDepth / 1.5);
    if (go && avoidHut) go = F32(Distance2D(x, z, HUT_X, HUT_Z)) > 5.0;
    if (go) {
        x = nextX;
        z = nextZ;
        blocked = 0;
    } else {
        blocked = 1;
        if (!turningLeft && !turningRight) PickTurn(15500);
    }
}

void Fish::Cruise() {
    const double maxSpeed = F32(size / 200.0);
    if (speed > maxSpeed) speed = maxSpeed;

    PickClimbOrDive(F32(F32(10.0 - depthLayer) * 70.0), F32(depthLayer * 200.0));

    const int turnChance = appetite <= 0 ? 500 : 100;
    const int stopChance = appetite <= 0 ? 300 : 1000;
    if (R() < turnChance && !turningLeft) turningRight = 1;
    if (R() < turnChance && !turningRight) turningLeft = 1;
    if ((turningLeft || turningRight) && R() < stopChance) turningLeft = turningRight = 0;
    if (R() < 15500) {
        speed = F32(speed - 0.01);
    } else {
        speed = F32(speed + 0.01);
    }

    TurnBySpeed();
    if (rising) {
        y = F32(y + F32(speed / 4.0));
        pitch = F32(pitch - F32(speed / 4.0));
    }
    if (diving) {
        y = F32(y - F32(speed / 5.0));
        pitch = F32(pitch + F32(speed / 5.0));
    }
    if (pitch > FULL_TURN) pitch = F32(pitch - F32(speed / 10.0));
    if (pitch < FULL_TURN) pitch = F32(pitch + F32(speed / 10.0));
    if (pitch < 6.0) pitch = 6.0;
    if (pitch > 6.5) pitch = 6.5;

    if (F32(Distance2D(x, z, HUT_X, HUT_Z)) < 10.0 && !turningLeft && !turningRight) PickTurn(16383);

    const double surface = F32(-bodyDepth / 1.6);
    if (y > surface) y = surface;
    BottomCheck();
    ShallowCheck();
    Step(true);

    // Surface displays: rolls and leaps, more often from a hungry fish.
    auto canShow = [this] { return y < -1.5 && speed > 0.05; };
    auto startRoll = [this] {
        state = FISH_ROLL;
        tiltRate = F32(0.3 + F32(R() / 109223.33333333334));
        leapHoldTicks = 10;
    };
    auto startLeap = [this] {
        state = FISH_LEAP;
        tiltRate = F32(0.3 + F32(R() / 109223.33333333334));
        if (R() >= 23000) {
            leapTurn = 1;
        } else {
            leapTurn = R() >= 17500 ? 2 : 0;
        }
    };
    if (canShow() && appetite > 15 && R() < 50) startRoll();
    if (canShow() && appetite > 15 && R() < 50) startLeap();
    if (canShow() && R() < 15) startRoll();
    if (canShow() && R() < 15) {
        startLeap();
        leapHoldTicks = 10;
    }
}

void Fish::Flee() {
    y = F32(y - F32(speed / 3.0));
    if (pitch < 6) pitch = F32(pitch + 0.1);

    if (R() < 200) {
        turningRight = 1;
        turningLeft = 0;
    }
    if (R() < 200) {
        turningLeft = 1;
        turningRight = 0;
    }
    if ((turningLeft || turningRight) && R() < 1000) turningLeft = turningRight = 0;
    TurnBySpeed();

    if (fear > 0) {
        fear = F32(fear - 0.3);
    } else {
        state = FISH_CRUISE;
        speed = calmSpeed;
    }
    if (speed > calmSpeed) speed = F32(speed - F32(speed / 100.0));
    if (turningLeft && turningRight) turningLeft = turningRight = 0;

    const double surface = F32(-bodyDepth / 1.6);
    if (y > surface) y = surface;
    BottomCheck();
    ShallowCheck();
    Step(false);
}

// Up to the surface and back down, tipping over as it falls.
void Fish::Roll() {
    if (y > 0) {
        climbing = 0;
        breached = 1;
    }
    const double floor = F32(bottomY + F32(F32(1.0 - F32(shapeFactor / 50.0)) / 2.0));
    if (y < floor && climbRate < 0) {
        SplashBackToCruise();
    }
    if (climbing) {
        NoseUpAndClimb(5);
    } else {
        NoseDown(tiltRate);
        climbRate = F32(climbRate - F32(4.0 * speed));
        if (y < -1) climbRate = F32(climbRate / 4.0);
    }
    y = F32(y + climbRate);
}

// Rolling or leaping upward: the nose comes up by 0.4 a tick to `steepest`, the climb quickens.
void Fish::NoseUpAndClimb(double steepest) {
    if (pitch > steepest) {
        pitch = F32(pitch - 0.4);
    } else {
        pitch = steepest;
    }
    climbRate = F32(climbRate + F32(speed / 4.0));
}

// Falling back: the nose goes down by `step` a tick, to 7 at most.
void Fish::NoseDown(double step) {
    if (pitch < 7) {
        pitch = F32(pitch + step);
    } else {
        pitch = 7;
    }
}

// Back under after a roll or a leap: cruising again, diving first.
void Fish::SplashBackToCruise() {
    state = FISH_CRUISE;
    climbing = 1;
    climbRate = 0;
    breached = 0;
    diving = 1;
    rising = 0;
}

// Clear of the water, turning in the air, then back in.
void Fish::Leap() {
    if (y > F32(size / 50.0)) {
        climbing = 0;
        breached = 1;
    }
    if (y < F32(-40.0 * speed) && climbRate < 0) {
        SplashBackToCruise();
    }
    if (climbing) {
        NoseUpAndClimb(4.8);
    } else {
        if (leapHoldTicks > 0) {
            --leapHoldTicks;
        } else if (y < 0) {
            state = FISH_CRUISE;
            leapHoldTicks = 0;
        }
        NoseDown(0.1);
        if (y > 0) {
            const double turn = F32(2.5 * speed);
            if (leapTurn == 0) heading = F32(heading - turn);
            if (leapTurn == 2) heading = F32(heading + turn);
        }
        climbRate = F32(climbRate - 0.4);
        if (y < -1) climbRate = F32(climbRate / 4.0);
    }
    y = F32(y + climbRate);
    if (y < F32(bottomY + 4.0)) {
        y = F32(y + speed);
        diving = 0;
    }
}

// The fight on the line: runs, thrashing, tiring and the line's pull.
void Fish::Hooked() {
    hasBeenHooked = 1;
    if (R() < 500) thrashing = 1;

    if (thrashing && strength > 10) {
        speed = F32(speed + F32(F32(R() / 81917.5) - 0.2));
        heading = F32(heading + F32(F32(R() / 54611.66666666667) - 0.3));
        if (R() < 1000) thrashing = 0;
    }

    if (canSwitchRun && strength > 10 && R() < 2000 && !runSwitched && !tired) {
        runSwitched = 1;
        if (R() < 17500) {
            runHeading = F32(runHeading - 1.571);
        } else {
            runHeading = F32(runHeading + 1.571);
        }
    }
    if (runSwitched && R() < 100) runSwitched = 0;
    runHeading = WrapHeading(runHeading);

    // Steering toward the run, or, tired, toward the opposite side.
    if (!tired) {
        const TurnStepCounts steps = FishTurnSteps(heading, runHeading);
        if (std::fabs(F32(heading - runHeading)) > speed) {
            heading = steps.down < steps.up ? F32(heading - speed) : F32(heading + speed);
        }
    } else {
        const double v = speed < 0.05 ? 0.1 : speed;
        runSwitched = 0;
        if (strength < 10 && secondWind && R() < 2000) {
            strength = F32(strength * 2.0);
            stamina = 60;
            secondWind = 0;
        }
        double aim = F32(runHeading + 3.142);
        if (aim > FULL_TURN) aim = F32(aim - FULL_TURN);
        const TurnStepCounts steps = FishTurnSteps(heading, aim);
        if (std::fabs(F32(heading - runHeading)) > v) {
            heading = steps.down < steps.up ? F32(heading - v) : F32(heading + v);
        } else {
            heading = runHeading;
        }
    }

    PickClimbOrDive(500, 2000);
    turningLeft = turningRight = 0;

    if (longRunner && longRunTicks == 0 && strength > 10 && R() < 500) {
        longRunTicks = R() / 327;
        if (R() < 17500) {
            turningLeft = 1;
            turningRight = 0;
        } else {
            turningRight = 1;
            turningLeft = 0;
        }
    }
    if (longRunTicks > 0 && strength > 10) {
        --longRunTicks;
        y = F32(y + F32(speed / 2.0));
        pitch = F32(pitch + speed);
        if (y > -1.5) {
            heading = F32(heading + F32(F32(R() / 54611.66666666667) - 0.3));
            thrashing = 1;
        }
    } else {
        longRunTicks = 0;
    }

    if (rising) {
        y = F32(y + F32(speed / 3.0));
        pitch = F32(pitch - speed);
    }
    if (diving) {
        y = F32(y - F32(speed / 3.0));
        pitch = F32(pitch + speed);
    }
    if (!rising && !diving) {
        if (pitch > FULL_TURN) pitch = F32(pitch - speed);
        if (pitch < FULL_TURN) pitch = F32(pitch + speed);
    }
    if (pitch < 6.0) pitch = 6.0;
    if (pitch > 6.5) pitch = 6.5;

    if (y > -bodyDepth) y = -bodyDepth;
    BottomCheck();
    ShallowCheck();
    Step(false);

    // Stamina: spent against the line, won back while tired.
    if (stamina < 40) rising = 1;
    if (stamina > 50) diving = 1;
    if (stamina < 0) stamina = 0;
    if (stamina > 100) stamina = 100;
    if (!tired) {
        // Without strength left the line's share is skipped (the check below makes such a fish tired).
        const double quarterStrength = F32(strength / 4.0);
        double spend = speed;
        if (quarterStrength > 0) {
            const double lineShare = F32(F32(F32(2.0 * lineLoad) / quarterStrength) / 10.0);
            spend = F32(speed + lineShare);
        }
        stamina = F32(stamina - spend);
    }
    if (stamina < 20 && !tired) {
        tired = 1;
        if (strength > 1) strength = F32(strength - F32(lineLoad / 10.0));
        stamina = 20;
    }
    if (stamina < 0) stamina = 0;
    if (tired) {
        stamina = F32(stamina + F32(F32(strength / 20.0) + F32(lineLoad / 50.0)));
        if (stamina > 95) tired = 0;
    }

    if (!tired && std::fabs(F32(heading - runHeading)) < 0.5) {
        speed = F32(speed + F32(F32(strength - F32(lineLoad / 2.0)) / 2000.0));
    }
    if (tired) speed = F32(speed + F32(lineLoad / 200.0));
    if (F32(lineLoad / 2.0) > strength) y = F32(y + 0.1);
    if (!tired) {
        const double cap = F32(strength / 100.0);
        if (speed > cap) speed = cap;
    }
    if (tired && speed > 0.25) speed = 0.25;
    if (speed < 0.1) speed = 0.1;

    if (strength < 10) {
        stamina = 0;
        tired = 1;
    }
    if (turningLeft && turningRight) turningLeft = turningRight = 0;

    if (stuck) {
        if (strength < 10) strength = 20;
        tired = 0;
        stamina = 100;
    }
}

void PutToFlight(Fish& f, double fear) {
    f.fear = fear;
    f.state = FISH_FLEE;
    f.calmSpeed = 0.1;
    f.speed = 0.3;
    f.confidence = 1;
    f.takeValue[0] = f.takeValue[1] = 0;
}

void GameApp::SpawnFish(double x, double y, double z, double sizeBase, double weight, double heading_,
                        int32_t kind, double shapeFactor) {
    for (Fish* f : fish) {
        if (!f->active) {
            f->Start(x, y, z, sizeBase, weight, heading_, kind, shapeFactor);
            return;
        }
    }
}
