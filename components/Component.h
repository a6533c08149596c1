#pragma once

// What every library component shares: a state byte (loading, being
// destroyed, being designed) and Loaded, the step that runs once the form
// holding the component has been set up.
//
// From code:
//
//   Ui.setupUi(this);
//   LoadComponents(this);   // each component's Loaded: a TMRUCombo reads its history

#include <cstdint>

class QObject;

// State flags of a library component, one bit each of a one-byte set.
enum TComponentStateFlag : int {
  csLoading = 0,     // its properties are being read from a form layout
  csReading = 1,
  csWriting = 2,
  csDestroying = 3,  // it is being destroyed
  csDesigning = 4,   // a form designer is editing it: it stores properties only
};

using TComponentState = std::uint8_t;

// Whether bit Element of the byte at Set is set. Elements outside 0 to 7 are
// never in the set.
bool InStateSet(const TComponentState *Set, int Element);

// The part every library component shares: its state byte and the
// notification that its form layout has been read.
class TJComponent {
 public:
  virtual ~TJComponent() = default;

  TComponentState ComponentState = 0;

  bool InState(int Element) const { return InStateSet(&ComponentState, Element); }
  void Include(int Element);
  void Exclude(int Element);

  // Called once after the form layout holding the component has been set up
  // (see LoadComponents). Overrides call the base first: it ends loading.
  virtual void Loaded();
};

// Tells every library component inside Form (Form included) that its layout
// has been read: all are marked loading first, then each one's Loaded runs
// in creation order. Call it right after setupUi().
void LoadComponents(QObject *Form);
