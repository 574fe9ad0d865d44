#pragma once

class AlertSystemClass;
class TAlertRecord;
class TPendingAlertQueue;

// Acts on triggered alerts, on the window thread (the main window's 500 ms
// heartbeat calls it). Each queued ID is taken out of the pending queue, the
// stored alert is copied into the working copy under the store lock, and its
// actions run on the copy with no lock held, in this order:
//   e-mail (every time), pop-up (only while no action is in effect), row
//   highlight, window flash, sound and wave file (every time).
// Only the actions in effect and their activation times are copied back, so
// what the evaluation thread recorded meanwhile (tick position, trigger time,
// news time) is kept. An ID whose alert was deleted is skipped. When the
// store lock cannot be had, the ID goes back to the front of the queue for
// the next heartbeat. Errors are logged; nothing is thrown.
void ActivatePendingAlerts();
// The same on a given store, queue and working copy. Returns the number of
// alerts acted on.
int ActivatePendingAlerts(AlertSystemClass &store, TPendingAlertQueue &queue, TAlertRecord &work);

// Plays the alert's standard sound (SoundIndex 0..5), then its wave file when
// it has one; a wave file that cannot be played is logged as "Sound Error: ".
void PlayAlertSound(const TAlertRecord &alert);
