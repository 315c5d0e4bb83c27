# Every failure is a classed condition carrying the command line's message:
# "dendrocompare_input_error" (bad input, a file that cannot be read),
# "dendrocompare_output_error" (a file that cannot be written), both
# "dendrocompare_error"; an interrupted comparison is an "interrupt".

dendrocompare_condition <- function(kind, message, call = NULL) {
  classes <- switch(kind,
    input = c("dendrocompare_input_error", "dendrocompare_error", "error"),
    output = c("dendrocompare_output_error", "dendrocompare_error", "error"),
    interrupt = c("dendrocompare_interrupt", "interrupt"),
    c("dendrocompare_error", "error"))
  structure(class = c(classes, "condition"), list(message = message, call = call))
}

input_error <- function(message, call = sys.call(-1)) {
  stop(dendrocompare_condition("input", message, call))
}

# The compiled code hands failures back as values; this raises them.
engine_result <- function(value, call = sys.call(-1)) {
  if (!inherits(value, "dendrocompare_failure")) return(value)
  stop(dendrocompare_condition(value$kind, value$message, call))
}
