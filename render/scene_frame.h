// Scene frame: the display handler of the scene view.
#pragma once

void displayScene();
