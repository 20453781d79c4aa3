// The game's timers: the step, the day clock, the cell board and the
// explosion, each re-armed by its own run.
#include "sim/shell/timers.h"

#include <GL/glut.h>

#include "sim/flight/clock.h"
#include "sim/flight/explosion.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/life.h"
#include "sim/render/explosion_list.h"
#include "sim/shell/audio.h"
#include "sim/shell/course_play.h"
#include "sim/shell/live_step.h"
#include "sim/shell/net_client.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/settings.h"

TickSchedule flightSchedule;
TickSchedule clockSchedule;
TickSchedule lifeSchedule;

void ResetTimersState()
{
    flightSchedule = {0, FLIGHT_PERIOD_MS * 1000000LL, 0};
    clockSchedule = {0, CLOCK_PERIOD_MS * 1000000LL, 0};
    lifeSchedule = {0, LIFE_PERIOD_MS * 1000000LL, 0};
}

int RunDueSteps(int64_t nowNs)
{
    int due = TakeDueTicks(flightSchedule, nowNs);
    for (int i = 0; i < due; i++) {
        RunOneStep();
        WatchCourse();
        NetStepDone(InstantReplayRunning());
    }
    return due;
}

void StartFlightTimer()
{
    StartSchedule(flightSchedule, MonotonicNs(), FLIGHT_FIRST_DELAY_MS, FLIGHT_PERIOD_MS);
    glutTimerFunc(FLIGHT_FIRST_DELAY_MS, FlightTick, FLIGHT_TIMER_VALUE);
}

void FlightTick(int /*value*/)
{
    ServiceNetwork();
    RunDueSteps(MonotonicNs());
    glutTimerFunc(DelayToNextMs(flightSchedule, MonotonicNs()), FlightTick, FLIGHT_TIMER_VALUE);
    glutPostRedisplay();
}

void StartClockTimer()
{
    StartSchedule(clockSchedule, MonotonicNs(), CLOCK_PERIOD_MS, CLOCK_PERIOD_MS);
    glutTimerFunc(CLOCK_PERIOD_MS, ClockTick, CLOCK_TIMER_VALUE);
}

// Catches up on every tick that fell due, so a day lasts its 1290 ticks of
// wall-clock time however long the frames take. The instant replay holds the
// live game, its day included: the ticks meanwhile are let go.
void ClockTick(int /*value*/)
{
    int due = TakeDueTicks(clockSchedule, MonotonicNs());
    for (int i = 0; i < due && !InstantReplayRunning(); i++)
        AdvanceClock();
    glutTimerFunc(DelayToNextMs(clockSchedule, MonotonicNs()), ClockTick, CLOCK_TIMER_VALUE);
    glutPostRedisplay();
}

void StartLifeTimer()
{
    StartSchedule(lifeSchedule, MonotonicNs(), LIFE_PERIOD_MS, LIFE_PERIOD_MS);
    glutTimerFunc(LIFE_PERIOD_MS, LifeTick, LIFE_TIMER_VALUE);
}

void LifeTick(int /*value*/)
{
    int due = TakeDueTicks(lifeSchedule, MonotonicNs());
    for (int i = 0; i < due && lifeOn; i++)
        StepLife();
    // Once a second besides: the settings follow the game within a second of
    // a change, and a sound device that went away is looked for again.
    SaveSimSettingsIfChanged(InstantReplayRunning());
    WatchSound();
    glutTimerFunc(DelayToNextMs(lifeSchedule, MonotonicNs()), LifeTick, LIFE_TIMER_VALUE);
    glutPostRedisplay();
}

void ArmExplosionTimer()
{
    // A replayed crash's frames are the recording's.
    if (ReplayShows())
        return;
    glutTimerFunc(EXPLOSION_FIRST_DELAY_MS, ExplosionTick, EXPLOSION_TIMER_VALUE);
}

void ExplosionTick(int /*value*/)
{
    // The live chain waits while the instant replay holds the live game, and
    // goes on from the frame it had reached.
    if (InstantReplayRunning()) {
        glutTimerFunc(EXPLOSION_FRAME_DELAY_MS, ExplosionTick, EXPLOSION_TIMER_VALUE);
        return;
    }
    ExplosionQuad quad;
    bool more = AdvanceExplosion(quad);
    BuildExplosionList(quad);
    NoteLiveExplosionFrame(quad);
    AddLiveExplosionFrame();
    if (more)
        glutTimerFunc(EXPLOSION_FRAME_DELAY_MS, ExplosionTick, EXPLOSION_TIMER_VALUE);
    glutPostRedisplay();
}
