# A layer table as the build writes it (build/layers/layers.cmake), for the test that shows
# check_includes.cmake failing: low links Qt Core alone, high stands on low with widgets.
set(layers low high)
set(layer_low_folder "low")
set(layer_low_may_include low)
set(layer_low_widgets FALSE)
set(layer_high_folder "high")
set(layer_high_may_include high;low)
set(layer_high_widgets TRUE)
