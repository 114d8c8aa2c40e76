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

void turn(ViewerCamera& camera, float degrees);
void tilt(ViewerCamera& camera, float degrees);
void walkForward(ViewerCamera& camera);
void walkBack(ViewerCamera& camera);

// What one key does: w/s walk, a/d turn, p/l tilt (either case), space toggles paused;
// every other key changes nothing.
void applyKey(ViewerCamera& camera, bool& paused, unsigned char key);
