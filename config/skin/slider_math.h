// The slider's arithmetic. Values grow towards the left (horizontal) or the top
// (vertical): the maximum sits at the left or top end of the travel.
#pragma once

#include "config/skin/skin_geometry.h"

struct SliderGeometry {
    int minimum = 0;
    int maximum = 10;
    bool horizontal = true;
    SkinRect travel; // area the thumb moves in, track client coordinates
    int thumbWidth = 0;
    int thumbHeight = 0;
};

// SetPos: a value outside [minimum, maximum], compared as unsigned numbers (so any
// negative value is outside for a non-negative minimum), becomes the minimum.
int SliderAcceptedValue(const SliderGeometry& g, int value);

// Thumb top-left for an accepted value. A travel shorter than the thumb or an
// empty range keeps the thumb at the travel's start rather than far outside it.
SkinPoint SliderThumbPosition(const SliderGeometry& g, int value);

// Drag step: the movement limited to the travel.
int SliderLimitDelta(const SliderGeometry& g, const SkinRect& thumb, int delta);

// Value posted with 1035 during a drag, from the thumb rectangle before the move.
int SliderDragValue(const SliderGeometry& g, const SkinRect& thumb);

// Value stored at release, from the final thumb rectangle.
int SliderReleaseValue(const SliderGeometry& g, const SkinRect& thumb);

// The track's conversion of a 1035 value into the 1034 value sent to the owner.
int TrackRelayValue(const SliderGeometry& g, int value);

// The track's own value for a left-button move at x in the owner's client
// coordinates; the horizontal formula serves both orientations.
int TrackMouseValue(const SliderGeometry& g, const SkinRect& trackRect, int x);
