#pragma once

namespace reelhound {

// Screen readers on Linux get a pop-up's current item as its name from Qt
// ("44100"), not what the pop-up is for. Pop-ups that have an accessible name
// (from their label) are named by it from then on, with the current item as
// their value. Call once the application exists; later calls do nothing.
void nameLabelledPopUps();

} // namespace reelhound
