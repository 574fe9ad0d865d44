#pragma once

// Enters the chart control's streamed parts (legend, gradient, wall, title)
// in the streaming registry and registers the basic series functions. Called
// once at start-up; calling it again changes nothing.
void RegisterChartControlClasses();
