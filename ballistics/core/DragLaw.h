#pragma once
// The drag law a trajectory is stepped under: the designed one, linear in the
// velocity with the launch speed as its factor, or the standard quadratic one,
// with the current speed as the factor. The case analysis only carries it to
// the trajectory it asks for.
namespace korvo {

enum class DragLaw { Linear, Quadratic };

} // namespace korvo
