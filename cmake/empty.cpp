// A folder whose library has no code yet still builds.
