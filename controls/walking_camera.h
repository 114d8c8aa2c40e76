// Walking camera: the viewer's eye and what one key press does to it.
// Pure arithmetic. onKey applies keys to viewerCamera and the paused flag; displayScene reads
// the camera to place the eye.
#pragma once

struct ViewerCamera {
    float heading = 0.0f;   // degrees about +y; 0 looks toward -z, larger turns left
    float x = 0.0f;         // field units
    float z = 5.0f;         // field units
    float bob = 0.0f;       // added to the eye height of 0.25
    float stepPhase = 0.0f; // degrees; drives the head-bob
    float pitch = 0.0f;     // degrees; positive tilts the view down
};

extern ViewerCamera viewerCamera;

// The eye sits this high above y = 0, plus the bob.
constexpr float EYE_HEIGHT = 0.25f;

// The camera's matrix as the scene frame applies it (pitch, then 360 - heading, then the eye's
// place), column-major: for looking up what lies under a point of the view.
void cameraMatrix(const ViewerCamera& camera, float (&matrix)[16]);

// What one press of a turn key (a, d) or a tilt key (p, l) adds to the heading or the pitch; the
// pointer's drags move the camera by the same steps.
constexpr float TURN_STEP_DEG = 1.5f;
constexpr float TILT_STEP_DEG = 1.0f;

void turn(ViewerCamera& camera, float degrees);
void tilt(ViewerCamera& camera, float degrees);
void walkForward(ViewerCamera& camera);
void walkBack(ViewerCamera& camera);

// What a key asks of the program beyond the camera and the pause flag.
enum class KeyAction {
    None,
    Replay,           // r or R: the show from its first tick
    ToggleFullScreen, // f or F
    LeaveFullScreen,  // Escape: out of full screen, and nothing when not in it
    SlowDown,         // [: half the playing speed
    SpeedUp,          // ]: twice the playing speed
    PrintPlace,       // c or C: the place as options and as the page's query
};

// What one key does, as the key table (controls/key_table.h) binds it: the walk, turn and tilt
// keys move the camera, space toggles paused; replay, full screen, speed and place keys change
// neither and are handed back; every other key changes nothing.
KeyAction applyKey(ViewerCamera& camera, bool& paused, unsigned char key);
