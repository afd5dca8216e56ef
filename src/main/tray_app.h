#pragma once
// Tray mode: the single resident instance in the notification area.
void run_tray_app();
