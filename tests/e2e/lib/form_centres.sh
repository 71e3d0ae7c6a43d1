# shellcheck shell=bash
# The form's controls in pixels, as the end-to-end tests click them: read from what the form_centres program
# prints, so that the tests click where the form's table puts each control. Sourced, not run; needs nothing else.

# Reads lines "name n1 n2 ..." of $2 whole numbers each into one array per control, named $1 followed by the
# control's name. A line ending in a carriage return (a Windows program's output) reads the same. Fails, reading
# on no further, on a line that is not a name and $2 whole numbers, and when no line came at all.
# Usage: read_form_numbers PREFIX COUNT < lines
read_form_numbers() {
    local prefix=$1 count=$2 line name i read_any=0
    local -a fields
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%$'\r'}
        [ -n "$line" ] || continue
        read -r -a fields <<<"$line"
        name=${fields[0]}
        if [ "${#fields[@]}" -ne $((count + 1)) ] || ! [[ $name =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]]; then
            echo "not a control's name and $count numbers: $line" >&2
            return 1
        fi
        for ((i = 1; i <= count; i++)); do
            if ! [[ ${fields[i]} =~ ^-?[0-9]+$ ]]; then
                echo "not a control's name and $count numbers: $line" >&2
                return 1
            fi
        done
        unset "$prefix$name"
        declare -g -a "$prefix$name"
        for ((i = 1; i <= count; i++)); do
            printf -v "${prefix}${name}[$((i - 1))]" %s "${fields[i]}"
        done
        read_any=1
    done
    if [ "$read_any" -eq 0 ]; then
        echo "no control was listed" >&2
        return 1
    fi
}

# Each control's centre, from the lines "name x y" of form_centres: CENTRE_cmd_quit=(672 32).
# Usage: read_form_centres < <(path/to/form_centres)
read_form_centres() {
    read_form_numbers CENTRE_ 2
}

# Each control's place, from the lines "name left top width height" of form_centres --places:
# PLACE_Picture1=(16 400 345 97).
# Usage: read_form_places < <(path/to/form_centres --places)
read_form_places() {
    read_form_numbers PLACE_ 4
}
