// The desktop program's widgets live in this folder.
