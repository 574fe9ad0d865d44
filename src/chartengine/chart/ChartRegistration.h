#pragma once

// Enters the chart control's streamed parts (legend, gradient, wall, title)
// in the streaming registry, registers the basic series functions and lets
// the gallery draw the series types' pictures from their samples. Called
// once at start-up; calling it again changes nothing.
void RegisterChartControlClasses();
