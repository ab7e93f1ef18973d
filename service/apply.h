// The full apply: everything the settings describe is written to the keyboard in
// one fixed sequence with the pauses the keyboard needs (about 5.4 s).
#pragma once

#include "service/hid_transport.h"
#include "service/pauser.h"
#include "settings/settings_block.h"

#include <functional>
#include <mutex>

// Fills the block the sequence writes from. The service's version loads the
// settings files into its own block under its lock and copies that block out, so
// the lock is not held through the pauses.
using LoadForApplyFn = std::function<void(SettingsBlock& settings)>;

// Runs when the last command has been sent: the service posts 1224 (0, 1) to the
// configuration window if there is one.
using ApplyDoneFn = std::function<void()>;

// The service's loader: LoadSettings into its own block with the lock held, then
// the copy the sequence writes from.
LoadForApplyFn LoadSettingsUnderLock(SettingsBlock& serviceBlock, std::mutex& lock);

void ApplyAllSettings(HidTransport& device, Pauser& pauser, const LoadForApplyFn& load,
                      const ApplyDoneFn& done);

// The sequence after the load, from a block already in hand.
void WriteAllSettings(HidTransport& device, Pauser& pauser, const SettingsBlock& settings);
