/*
 * Vorn: the engine Kestrin runs on. One header for clients: include this and call the
 * VN free functions. Nothing here pulls in SDL, OpenGL or FreeType headers.
 */
#pragma once

#include "System/VNSystem.h"
#include "System/VNFrameRateController.h"
#include "System/VNOutput.h"
#include "Input/VNInput.h"
#include "Input/VNGamepad.h"
#include "Graphics/VNGraphics.h"
#include "Math/VNMath.h"
#include "Math/VNMath4.h"
#include "Math/VNCollision.h"
#include "Audio/VNAudio.h"
#include "Dialog/VNFileDialog.h"
