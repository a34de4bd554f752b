// PLACEHOLDER: being written
