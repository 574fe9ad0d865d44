#pragma once
// The pictures of the news window's small buttons: the browser tool bar
// (back, forward, stop, print, find) and the headline row's bulb and refresh
// buttons, whose texts are their hints. Drawn in code at 16 x 16.
#include <QIcon>

enum class TNewsIcon { Back, Forward, Stop, Print, Find, NoBulb, Refresh, RefreshAll };

QIcon NewsIcon(TNewsIcon which);
